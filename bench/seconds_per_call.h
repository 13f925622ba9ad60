// Timing for the benchmarks: the time of one call, measured so that other
// work on the machine counts little.
#pragma once
#include <algorithm>
#include <chrono>
#include <functional>

// Seconds one call of Work takes, Prepare (untimed) running before each:
// the best of several batches, each long enough for the clock, so that
// other work on the machine counts little.
inline double SecondsPerCall(const std::function<void()>& Work, const std::function<void()>& Prepare = [] {})
{
    using Clock = std::chrono::steady_clock;
    auto batch = [&](int Calls) {
        std::chrono::duration<double> spent{};
        for (int i = 0; i < Calls; ++i) {
            Prepare();
            const auto start = Clock::now();
            Work();
            spent += Clock::now() - start;
        }
        return spent.count();
    };
    batch(1); // warm up
    int calls = 1;
    while (batch(calls) < 0.002) calls *= 2;
    double best = 1e9;
    for (int i = 0; i < 7; ++i) best = std::min(best, batch(calls) / calls);
    return best;
}

