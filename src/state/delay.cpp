#include "state/delay.h"

#include <cmath>

#include "state/texts.h"

std::int32_t DelayMsFromText(const std::string& text) {
  const double product = ParseDecimal(text) * 1000.0;
  // 2^63: the first value a signed 64-bit integer cannot hold.
  constexpr double kInt64Limit = 9223372036854775808.0;
  if (std::isnan(product) || product >= kInt64Limit || product < -kInt64Limit) return 0;
  const auto truncated = static_cast<std::int64_t>(product);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncated));
}
