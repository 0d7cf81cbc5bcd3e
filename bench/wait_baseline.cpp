// Baseline for the pacing: a run's sequence of waits, and nothing else, per
// pass: four step waits, two search waits, two more step waits (the last after
// the profile's close), done with plain Sleep and with the program's WaitMs,
// one after the other in the same process. Writes the passes' seconds to OUT:
// a line "sleep t1 t2 ..." and a line "waitms t1 t2 ...".
//   bench_wait_baseline STEP_MS SEARCH_MS PASSES OUT
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_common.h"
#include "desktop/desktop.h"

namespace {

template <typename Wait>
std::vector<double> Passes(int passes, int stepMs, int searchMs, Wait wait) {
  std::vector<double> times;
  double last = bench::Now();
  for (int pass = 0; pass < passes; ++pass) {
    for (int ms : {stepMs, stepMs, stepMs, stepMs, searchMs, searchMs, stepMs, stepMs}) wait(ms);
    const double now = bench::Now();
    times.push_back(now - last);
    last = now;
  }
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: bench_wait_baseline STEP_MS SEARCH_MS PASSES OUT\n");
    return 2;
  }
  const int stepMs = std::atoi(argv[1]), searchMs = std::atoi(argv[2]), passes = std::atoi(argv[3]);
  const std::vector<double> slept =
      Passes(passes, stepMs, searchMs, [](int ms) { ::Sleep(static_cast<DWORD>(ms)); });
  const std::vector<double> waited = Passes(passes, stepMs, searchMs, [](int ms) { WaitMs(ms); });
  std::string text;
  for (const auto& [name, times] : {std::pair{"sleep", &slept}, std::pair{"waitms", &waited}}) {
    text += name;
    for (double t : *times) {
      char value[32];
      std::snprintf(value, sizeof value, " %.6f", t);
      text += value;
    }
    text += '\n';
  }
  return bench::WriteWholeFile(argv[4], text) ? 0 : 1;
}
