#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>

#include "document/calculation_document.h"
#include "pdf/paged_document.h"
#include "pdf/pdf_writer.h"

namespace {

namespace fs = std::filesystem;

// The fonts and painting need an application; none is shown.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "quoinry_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication application(argc, argv);
}

quoinry::document::RecordedDocument SampleDocument() {
    const fs::path data = fs::path(QUOINRY_TEST_DATA) / "data" / "document";
    quoinry::document::Warnings warnings;
    return quoinry::document::RecordCalculationDocument(
        quoinry::document::ReportsIn(data, data / "xc.wmf"), warnings);
}

// The sample design's pages laid out: the font, the text and the picture.
void BM_CalculationPages(benchmark::State& state) {
    EnsureApplication();
    const auto document = SampleDocument();
    for (auto _ : state) {
        const quoinry::pdf::PagedDocument pages(document);
        benchmark::DoNotOptimize(pages.PageCount());
    }
}
BENCHMARK(BM_CalculationPages)->Unit(benchmark::kMillisecond);

// The whole PDF of the sample design written to a file.
void BM_CalculationPdf(benchmark::State& state) {
    EnsureApplication();
    const auto document = SampleDocument();
    const fs::path folder = fs::temp_directory_path() / "quoinry-pdf-bench";
    fs::create_directories(folder);
    for (auto _ : state)
        benchmark::DoNotOptimize(quoinry::pdf::WritePdf(document, folder / "计算书.pdf"));
    fs::remove_all(folder);
}
BENCHMARK(BM_CalculationPdf)->Unit(benchmark::kMillisecond);

}  // namespace
