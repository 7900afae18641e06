// FFTW_MEASURE may settle on a different plan each time it plans: the peer
// is planned three times (wisdom forgotten in between) and the plan that ran
// fastest over a short trial is the one timed.
#ifndef ZQV_FFTW_BEST_H
#define ZQV_FFTW_BEST_H

#include <chrono>
#include <optional>

// make() returns a plan object, run(plan) executes it, drop(plan) frees it,
// forget() forgets the wisdom of the precision planned.
template <class Make, class Run, class Drop, class Forget>
auto fastestOfThree(Make make, Run run, Drop drop, Forget forget) {
  using Plan = decltype(make());
  std::optional<Plan> best;
  double bestTime = 0;
  for (int planning = 0; planning < 3; ++planning) {
    forget();
    Plan plan = make();
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < 2000; ++r) run(plan);
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!best || t < bestTime) {
      if (best) drop(*best);
      best = plan;
      bestTime = t;
    } else {
      drop(plan);
    }
  }
  return *best;
}

#endif
