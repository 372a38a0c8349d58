// The clock the benchmarks time both sides of a ratio with: the CPU time of
// the benchmark's own thread, so that the time a shared machine gives to
// other programs counts against neither side.
#pragma once

#include <time.h>

namespace orivane {

inline double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The thread CPU seconds that `f` takes.
template <class F>
double Seconds(F&& f) {
  const double t0 = ThreadSeconds();
  f();
  return ThreadSeconds() - t0;
}

}  // namespace orivane
