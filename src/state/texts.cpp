#include "state/texts.h"

#include <cstdlib>

namespace {

bool StartsDoubleByteCharacter(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/// Full-width digits, signs and letters, the ideographic space, the wave dash
/// and the two asterisks become their ASCII forms; everything else is kept.
std::string FoldFullWidthForms(const std::string& text) {
  std::string folded;
  for (std::size_t at = 0; at < text.size();) {
    if (!StartsDoubleByteCharacter(text[at])) {
      folded += text[at++];
      continue;
    }
    if (at + 1 == text.size()) break;
    const auto lead = static_cast<unsigned char>(text[at]);
    const auto trail = static_cast<unsigned char>(text[at + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      folded += static_cast<char>(trail - 128);
    } else if (lead == 0xA1 && trail == 0xA1) {
      folded += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      folded += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      folded += '*';
    } else {
      folded.append(text, at, 2);
    }
    at += 2;
  }
  return folded;
}

/// Appends the run of digits at `at` to `out`; how many there were.
std::size_t TakeDigits(const std::string& text, std::size_t& at, std::string& out) {
  const std::size_t start = at;
  while (at < text.size() && IsDigit(text[at])) out += text[at++];
  return at - start;
}

}  // namespace

std::string BytesToText(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string DecimalText(std::int32_t value) { return std::to_string(value); }

double ParseDecimal(const std::string& text) {
  const std::string folded = FoldFullWidthForms(text);
  std::size_t at = folded.find_first_not_of(" \t\n\v\f\r");
  if (at == std::string::npos) return 0.0;

  // Copy the part that reads as a number into C-library form: strtod knows no
  // "d" exponent and would read hexadecimal, "inf" and "nan", which we do not.
  std::string number;
  if (folded[at] == '+' || folded[at] == '-') number += folded[at++];
  std::size_t digits = TakeDigits(folded, at, number);
  if (at < folded.size() && folded[at] == '.') {
    number += folded[at++];
    digits += TakeDigits(folded, at, number);
  }
  if (digits == 0) return 0.0;

  if (at < folded.size() && std::string("eEdD").find(folded[at]) != std::string::npos) {
    std::size_t exponentAt = at + 1;
    std::string exponent = "e";
    if (exponentAt < folded.size() && (folded[exponentAt] == '+' || folded[exponentAt] == '-')) {
      exponent += folded[exponentAt++];
    }
    if (TakeDigits(folded, exponentAt, exponent) > 0) number += exponent;
  }
  return std::strtod(number.c_str(), nullptr);
}

std::vector<std::string> SplitByDelimiter(const std::string& text, const std::string& delimiter) {
  if (text.empty()) return {};
  if (delimiter.empty()) return {text};

  std::vector<std::string> pieces;
  std::size_t pieceStart = 0;
  std::size_t at = 0;
  while (text.size() - at >= delimiter.size()) {
    if (text.compare(at, delimiter.size(), delimiter) == 0) {
      pieces.push_back(text.substr(pieceStart, at - pieceStart));
      at += delimiter.size();
      pieceStart = at;
    } else if (!StartsDoubleByteCharacter(text[at])) {
      at += 1;
    } else if (at + 1 < text.size()) {
      at += 2;
    } else {
      break;
    }
  }
  if (pieceStart < text.size()) pieces.push_back(text.substr(pieceStart));
  return pieces;
}
