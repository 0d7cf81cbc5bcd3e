// ParseDecimal and DelayMsFromText on arbitrary bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/check.h"
#include "state/delay.h"
#include "state/texts.h"

namespace {

/// The milliseconds as the delay box defines them, by other means than the
/// program's: std::trunc and a modulo instead of integer casts.
std::int32_t ExpectedDelayMs(double seconds) {
  const double truncated = std::trunc(seconds * 1000.0);
  const double limit = std::ldexp(1.0, 63);
  if (std::isnan(truncated) || truncated >= limit || truncated < -limit) return 0;
  const double twoTo32 = std::ldexp(1.0, 32);
  double low = std::fmod(truncated, twoTo32);  // exact for doubles
  if (low < 0) low += twoTo32;
  const auto bits = static_cast<std::int64_t>(low);
  return static_cast<std::int32_t>(bits >= (std::int64_t{1} << 31) ? bits - (std::int64_t{1} << 32) : bits);
}

/// Whether the bytes hold an ASCII digit or a full-width one (A3 B0..B9)
/// anywhere, whatever the character boundaries.
bool MayHoldDigit(const std::string& text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= '0' && byte <= '9') return true;
    if (byte == 0xA3 && at + 1 < text.size()) {
      const auto trail = static_cast<unsigned char>(text[at + 1]);
      if (trail >= 0xB0 && trail <= 0xB9) return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double seconds = ParseDecimal(text);
  const std::int32_t delayMs = DelayMsFromText(text);

  // strtod never yields NaN from digits; overflow gives an infinity.
  FUZZ_CHECK(!std::isnan(seconds));
  FUZZ_CHECK(delayMs == ExpectedDelayMs(seconds));
  if (!MayHoldDigit(text)) {
    FUZZ_CHECK(seconds == 0.0);
    FUZZ_CHECK(delayMs == 0);
  }
  // The number ends before a byte that cannot continue it, also when the
  // text ends with a lone lead byte ('x' is no GBK trail byte to fold).
  const double extended = ParseDecimal(text + "x");
  FUZZ_CHECK(extended == seconds || (std::isnan(extended) && std::isnan(seconds)));
  return 0;
}
