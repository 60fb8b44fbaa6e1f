// Two pieces of work timed in the same run, batch after batch in turn, so a
// busy machine slows both alike and their ratio stays meaningful.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <string>

namespace samerun {

// Each benchmark iteration runs first(), then second(), each doing `items`
// items, and times both. Counters: each one's throughput in items per second
// under its name, and "first/second", the first's throughput over the
// second's (above 1: the first is faster). The benchmark's own time covers
// both.
template <class First, class Second>
void compare(benchmark::State& state, std::size_t items, const std::string& firstName, First first,
             const std::string& secondName, Second second) {
    using clock = std::chrono::steady_clock;
    std::chrono::duration<double> a{0}, b{0};
    std::size_t done = 0;
    for (auto _ : state) {
        const auto t0 = clock::now();
        first();
        const auto t1 = clock::now();
        second();
        const auto t2 = clock::now();
        a += t1 - t0;
        b += t2 - t1;
        done += items;
    }
    const double n = static_cast<double>(done);
    state.counters[firstName + "/s"] = n / a.count();
    state.counters[secondName + "/s"] = n / b.count();
    state.counters[firstName + "/" + secondName] = b.count() / a.count();
}

} // namespace samerun
