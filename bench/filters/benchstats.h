#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

// Repeated runs reported as mean, median, standard deviation, coefficient of variation, min and max.
inline void spkRepeat(benchmark::internal::Benchmark *b)
{
    b->Repetitions(15)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
    b->ComputeStatistics("min",
                         [](const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); });
    b->ComputeStatistics("max",
                         [](const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); });
}
