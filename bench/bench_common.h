// Small helpers the benchmark programs share: the clock, medians, number files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

/// Seconds on the performance counter since an arbitrary start.
double Now();

/// The median; the mean of the middle two for an even count; 0 for none.
double Median(std::vector<double> values);

/// The runs, as "a b c" in milliseconds with one decimal.
std::string RunsMs(const std::vector<double>& seconds);

/// Prints "RESULT key median-ms runs-ms..." for scripts/bench.sh to read.
void Report(const std::string& key, const std::vector<double>& seconds);

/// Prints "RESULT key value" for a figure that is not a time.
void ReportValue(const std::string& key, double value);

/// count numbers from 100000000 on, one a line, each ending in CR LF.
std::string NumberLines(std::int32_t count);

/// Writes the bytes to the file, replacing it; whether all were written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

/// The file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace bench
