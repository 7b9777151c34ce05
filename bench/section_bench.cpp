#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>

#include "profile/dxf_drawing.h"
#include "profile/regions.h"
#include "profile/section_properties.h"

namespace {

using namespace quoinry::profile;

// A tube of 1,000 outer and 1,000 inner edges, lines and flat arcs by turns.
std::vector<Loop> ManyEdgedTube() {
    std::vector<Loop> loops;
    for (double radius : {50.0, 48.0}) {
        Loop loop;
        const int n = 1000;
        auto at = [&](int k) {
            const double a = 2 * std::numbers::pi * (k % n) / n;
            return Point{radius * std::cos(a), radius * std::sin(a)};
        };
        for (int k = 0; k < n; ++k) loop.push_back({at(k), at(k + 1), k % 2 ? 0.004 : 0.0});
        loops.push_back(loop);
    }
    return loops;
}

void BM_SectionOf2000Edges(benchmark::State& state) {
    const std::vector<Loop> loops = ManyEdgedTube();
    for (auto _ : state) {
        const std::vector<Region> regions = FindRegions(loops);
        benchmark::DoNotOptimize(ComputeSection(regions[0]));
    }
}
BENCHMARK(BM_SectionOf2000Edges)->Unit(benchmark::kMillisecond);

void BM_PropertiesOf2000Edges(benchmark::State& state) {
    const std::vector<Region> regions = FindRegions(ManyEdgedTube());
    for (auto _ : state) benchmark::DoNotOptimize(ComputeSection(regions[0]));
}
BENCHMARK(BM_PropertiesOf2000Edges)->Unit(benchmark::kMillisecond);

// A wavy tube of 100,000 edges: the crossing check must not compare every pair.
std::vector<Loop> HundredThousandEdges() {
    std::vector<Loop> loops;
    for (double radius : {50.0, 45.0}) {
        Loop loop;
        const int n = 50'000;
        auto at = [&](int k) {
            const double a = 2 * std::numbers::pi * (k % n) / n;
            const double r = radius + 0.5 * std::sin(200 * a);
            return Point{r * std::cos(a), r * std::sin(a)};
        };
        for (int k = 0; k < n; ++k) loop.push_back({at(k), at(k + 1), 0.0});
        loops.push_back(loop);
    }
    return loops;
}

void BM_SectionOf100000Edges(benchmark::State& state) {
    const std::vector<Loop> loops = HundredThousandEdges();
    for (auto _ : state) {
        const std::vector<Region> regions = FindRegions(loops);
        benchmark::DoNotOptimize(ComputeSection(regions[0]));
    }
}
BENCHMARK(BM_SectionOf100000Edges)->Unit(benchmark::kMillisecond);

// A star of 50,000 spikes between radii 10 and 100: the boxes of its edges overlap by the
// hundreds, which a check of every pair of overlapping boxes pays for.
void BM_SectionOfStar100000Edges(benchmark::State& state) {
    const int spikes = 50'000;
    Loop loop;
    auto at = [&](int k) {
        const double a = std::numbers::pi * (k % (2 * spikes)) / spikes;
        const double r = k % 2 ? 10 : 100;
        return Point{r * std::cos(a), r * std::sin(a)};
    };
    for (int k = 0; k < 2 * spikes; ++k) loop.push_back({at(k), at(k + 1), 0});
    for (auto _ : state) {
        const std::vector<Region> regions = FindRegions({loop});
        benchmark::DoNotOptimize(ComputeSection(regions[0]));
    }
}
BENCHMARK(BM_SectionOfStar100000Edges)->Unit(benchmark::kMillisecond);

// Door frame outlines in a grid, as polylines with bulges, lines and arcs, until 5 MB.
std::filesystem::path LargeDrawing() {
    const auto path = std::filesystem::temp_directory_path() / "quoinry_bench_5mb.dxf";
    if (std::filesystem::exists(path) && std::filesystem::file_size(path) >= 5'000'000) {
        return path;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    char line[512];
    for (int i = 0; out.tellp() < 5'000'000; ++i) {
        const double x = (i % 100) * 200.0;
        const double y = (i / 100) * 200.0;
        std::snprintf(line, sizeof line,
                      "0\nLWPOLYLINE\n8\nP\n90\n4\n70\n1\n10\n%.6f\n20\n%.6f\n10\n%.6f\n20\n%.6f\n"
                      "42\n0.414213562373\n10\n%.6f\n20\n%.6f\n10\n%.6f\n20\n%.6f\n",
                      x, y, x + 50, y, x + 60, y + 10, x, y + 100);
        out << line;
        std::snprintf(line, sizeof line,
                      "0\nLINE\n8\nP\n10\n%.6f\n20\n%.6f\n11\n%.6f\n21\n%.6f\n"
                      "0\nARC\n8\nP\n10\n%.6f\n20\n%.6f\n40\n10\n50\n0\n51\n180\n",
                      x + 10, y + 20, x + 30, y + 20, x + 20, y + 20);
        out << line;
        std::snprintf(line, sizeof line, "0\nCIRCLE\n8\nP\n10\n%.6f\n20\n%.6f\n40\n5\n", x + 15,
                      y + 60);
        out << line;
    }
    out << "0\nENDSEC\n0\nEOF\n";
    return path;
}

void BM_Read5MbDxf(benchmark::State& state) {
    const std::filesystem::path path = LargeDrawing();
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    for (auto _ : state) benchmark::DoNotOptimize(ReadDxfDrawing(path));
}
BENCHMARK(BM_Read5MbDxf)->Unit(benchmark::kMillisecond);

void BM_RegionsOf5MbDxf(benchmark::State& state) {
    const Drawing drawing = ReadDxfDrawing(LargeDrawing());
    state.counters["loops"] = static_cast<double>(drawing.loops.size());
    for (auto _ : state) benchmark::DoNotOptimize(FindRegions(drawing.loops));
}
BENCHMARK(BM_RegionsOf5MbDxf)->Unit(benchmark::kMillisecond);

void BM_ReadAndMeasure5MbDxf(benchmark::State& state) {
    const std::filesystem::path path = LargeDrawing();
    for (auto _ : state) {
        const Drawing drawing = ReadDxfDrawing(path);
        const std::vector<Region> regions = FindRegions(drawing.loops);
        benchmark::DoNotOptimize(ComputeSection(regions[0]));
    }
}
BENCHMARK(BM_ReadAndMeasure5MbDxf)->Unit(benchmark::kMillisecond);

}  // namespace
