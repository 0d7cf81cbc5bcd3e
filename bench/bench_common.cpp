#include "bench_common.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace bench {

double Now() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f{};
    ::QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string RunsMs(const std::vector<double>& seconds) {
  std::string text;
  for (double s : seconds) {
    char one[32];
    std::snprintf(one, sizeof one, "%s%.1f", text.empty() ? "" : " ", s * 1000);
    text += one;
  }
  return text;
}

void Report(const std::string& key, const std::vector<double>& seconds) {
  std::printf("RESULT %s %.2f runs: %s\n", key.c_str(), Median(seconds) * 1000, RunsMs(seconds).c_str());
  std::fflush(stdout);
}

void ReportValue(const std::string& key, double value) {
  std::printf("RESULT %s %.3f\n", key.c_str(), value);
  std::fflush(stdout);
}

std::string NumberLines(std::int32_t count) {
  std::string lines;
  lines.reserve(static_cast<std::size_t>(count) * 11);
  for (std::int32_t i = 0; i < count; ++i) {
    lines += std::to_string(100000000 + i);
    lines += "\r\n";
  }
  return lines;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::string ReadWholeFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return {};
  std::string bytes;
  char chunk[65536];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.append(chunk, got);
  std::fclose(file);
  return bytes;
}

}  // namespace bench
