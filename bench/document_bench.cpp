#include <benchmark/benchmark.h>

#include <filesystem>

#include "document/calculation_document.h"

namespace {

namespace fs = std::filesystem;

// The calculation document of the sample design: about 200 report lines and the picture.
void BM_CalculationDocument(benchmark::State& state) {
    const fs::path data = fs::path(QUOINRY_TEST_DATA) / "data" / "document";
    const fs::path folder = fs::temp_directory_path() / "quoinry-document-bench";
    fs::create_directories(folder);
    const auto sources = quoinry::document::ReportsIn(data, data / "xc.wmf");
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            quoinry::document::BuildCalculationDocument(sources, folder / "计算书.docx"));
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_CalculationDocument)->Unit(benchmark::kMillisecond);

}  // namespace
