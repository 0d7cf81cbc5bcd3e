// ImportNumbersFromText into the fake pending list, then the list joined
// with JoinEntries and imported again into a fresh list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/check.h"
#include "progress/entries.h"
#include "state/import.h"
#include "state/main_window_controls.h"
#include "tests/fakes/fake_desktop.h"

namespace {

std::vector<std::string> ImportIntoFreshList(const std::string& text) {
  fake::Reset();
  ImportNumbersFromText(text);
  const auto found = fake::TheDesktop().lists.find(PendingList);
  return found == fake::TheDesktop().lists.end() ? std::vector<std::string>{} : found->second;
}

/// Which offsets start a character, reading from the text's beginning.
std::vector<bool> CharacterStarts(const std::string& text) {
  std::vector<bool> starts(text.size() + 1, false);
  std::size_t at = 0;
  while (at < text.size()) {
    starts[at] = true;
    at += static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size() ? 2 : 1;
  }
  starts[text.size()] = true;
  return starts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> entries = ImportIntoFreshList(input);

  // The input is the entries in order with only line breaks (CR LF) before,
  // between and after them, and every entry and every break starts a
  // character: a lead byte takes the CR after it as its trail.
  const std::vector<bool> starts = CharacterStarts(input);
  std::size_t at = 0;
  const auto skipBreaks = [&] {
    const std::size_t from = at;
    while (input.compare(at, 2, "\r\n") == 0) {
      FUZZ_CHECK(starts[at]);
      at += 2;
    }
    return at > from;
  };
  for (const std::string& entry : entries) {
    FUZZ_CHECK(!entry.empty());
    const bool broken = skipBreaks();
    FUZZ_CHECK(broken || &entry == &entries.front());
    FUZZ_CHECK(starts[at]);
    FUZZ_CHECK(input.compare(at, entry.size(), entry) == 0);
    at += entry.size();
  }
  skipBreaks();
  FUZZ_CHECK(at == input.size());

  const std::string joined = JoinEntries(PendingList, 0, static_cast<std::int32_t>(entries.size()));
  FUZZ_CHECK(ImportIntoFreshList(joined) == entries);
  return 0;
}
