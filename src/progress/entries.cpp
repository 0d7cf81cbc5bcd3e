#include "progress/entries.h"

#include <vector>

std::string JoinEntries(ControlName list, std::int32_t first, std::int32_t count) {
  const std::vector<std::string> entries = EntriesAt(list, first, count);
  std::size_t bytes = 0;
  for (const std::string& entry : entries) bytes += entry.size() + 2;
  std::string text;
  text.reserve(bytes);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += entries[i];
  }
  return text;
}
