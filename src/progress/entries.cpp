#include "progress/entries.h"

std::string JoinEntries(ControlName list, std::int32_t first, std::int32_t count) {
  std::string text;
  for (std::int32_t i = first; i < first + count; ++i) {
    if (i > first) text += "\r\n";
    text += EntryAt(list, i);
  }
  return text;
}
