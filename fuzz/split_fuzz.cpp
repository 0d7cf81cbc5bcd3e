// SplitByDelimiter: the first byte picks the delimiter's length (0 to 4),
// the next bytes are the delimiter, the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/check.h"
#include "state/texts.h"

namespace {

bool IsLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

/// Which offsets start a character, reading from the text's beginning; the
/// end of the text counts as one, a lone lead byte at the end is a character.
std::vector<bool> CharacterStarts(const std::string& text) {
  std::vector<bool> starts(text.size() + 1, false);
  std::size_t at = 0;
  while (at < text.size()) {
    starts[at] = true;
    at += IsLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
  }
  starts[text.size()] = true;
  return starts;
}

/// Whether the delimiter is whole characters: a split at it then keeps the
/// text's character boundaries. A delimiter ending in a lead byte does not.
bool IsWholeCharacters(const std::string& delimiter) {
  std::size_t at = 0;
  while (at < delimiter.size()) at += IsLeadByte(delimiter[at]) ? 2 : 1;
  return at == delimiter.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t delimiterSize = data[0] % 5 < size ? data[0] % 5 : size - 1;
  const std::string delimiter(reinterpret_cast<const char*>(data) + 1, delimiterSize);
  const std::string text(reinterpret_cast<const char*>(data) + 1 + delimiterSize, size - 1 - delimiterSize);

  const std::vector<std::string> pieces = SplitByDelimiter(text, delimiter);
  if (text.empty()) {
    FUZZ_CHECK(pieces.empty());
    return 0;
  }

  // Joined again, the pieces are the text; a trailing delimiter leaves no
  // empty piece behind it, so it is the one thing the join may lack.
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) joined += delimiter;
    joined += pieces[i];
  }
  FUZZ_CHECK(joined == text || (!delimiter.empty() && joined + delimiter == text));

  if (!IsWholeCharacters(delimiter)) return 0;
  const std::vector<bool> starts = CharacterStarts(text);
  std::size_t offset = 0;
  for (const std::string& piece : pieces) {
    FUZZ_CHECK(starts[offset] && starts[offset + piece.size()]);
    // No delimiter left unsplit at a character start inside the piece.
    for (std::size_t at = offset; at < offset + piece.size(); ++at) {
      if (starts[at] && !delimiter.empty()) FUZZ_CHECK(text.compare(at, delimiter.size(), delimiter) != 0);
    }
    offset += piece.size() + delimiter.size();
    if (offset > text.size()) break;
  }
  return 0;
}
