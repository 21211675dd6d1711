#pragma once
// The benchmarks' common measure: our way and the plain-Qt way of the same work, run alternately in the
// same loop and reported as counters: ours_us, qt_us and ratio (ours / Qt).

#include <benchmark/benchmark.h>
#include <chrono>

template <class A, class B> void Compare(benchmark::State &State, A Ours, B Theirs)
{
    using Clock = std::chrono::steady_clock;
    auto Micro = [](Clock::duration D) { return std::chrono::duration<double, std::micro>(D).count(); };
    Clock::duration OursTotal{}, TheirsTotal{};
    for (auto _ : State) {
        auto T0 = Clock::now();
        Ours();
        auto T1 = Clock::now();
        Theirs();
        auto T2 = Clock::now();
        OursTotal += T1 - T0;
        TheirsTotal += T2 - T1;
    }
    const double N = double(State.iterations());
    State.counters["ours_us"] = Micro(OursTotal) / N;
    State.counters["qt_us"] = Micro(TheirsTotal) / N;
    State.counters["ratio"] = TheirsTotal.count() ? double(OursTotal.count()) / double(TheirsTotal.count()) : 0.0;
}
