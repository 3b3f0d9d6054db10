#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

// The median wall time of several runs of `work`, in milliseconds; the median shrugs off a slow first run.
inline double medianMilliseconds(const std::function<void()> &work, int runs = 9)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}
