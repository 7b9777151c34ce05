#include <benchmark/benchmark.h>

#include "common/numbers.h"

namespace {

void BM_FormatFixedDouble(benchmark::State& state) {
    double x = 1.105;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quoinry::FormatFixed(x, 3));
    }
}
BENCHMARK(BM_FormatFixedDouble);

void BM_FormatFixedSingle(benchmark::State& state) {
    float x = 1.687f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quoinry::FormatFixed(x, 3));
    }
}
BENCHMARK(BM_FormatFixedSingle);

void BM_GeneralTextDouble(benchmark::State& state) {
    double x = 1105;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quoinry::GeneralText(x));
    }
}
BENCHMARK(BM_GeneralTextDouble);

}  // namespace
