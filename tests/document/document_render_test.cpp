#include <cstdlib>

#include "document/calculation_document.h"
#include "document/report_text.h"
#include "document/source_files.h"
#include "document_test_support.h"

namespace quoinry::document {
namespace {

using namespace testing;

bool OnPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

bool ChineseFontInstalled() {
    return std::system("fc-list :lang=zh 2>/dev/null | grep -q .") == 0;
}

// Lines wider than the page wrap, and pdftotext drops a hyphen that ends a wrapped line.
std::string WithoutBreaks(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (std::string_view(" \t\n\r\f-").find(c) == std::string_view::npos)
            out += c;
    }
    return out;
}

// LibreOffice renders the document as a word processor does: every report line must come out
// in order, and every page with its number.
TEST(DocumentRender, LibreOfficeShowsEveryLineInOrder) {
    std::string office;
    for (const char* name : {"soffice", "libreoffice"}) {
        if (office.empty() && OnPath(name))
            office = name;
    }
    if (office.empty())
        GTEST_SKIP() << "LibreOffice is not installed: render check skipped";
    // Without Writer (only Calc, say) LibreOffice cannot load a .docx at all.
    if (!fs::exists("/usr/lib/libreoffice/program/libswlo.so"))
        GTEST_SKIP() << "LibreOffice Writer is not installed: render check skipped";
    if (!OnPath("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed: render check skipped";
    if (!ChineseFontInstalled()) {
        GTEST_SKIP() << "no Chinese font is installed: render check skipped";
    }

    ScratchFolder folder;
    const fs::path docx = folder / "计算书.docx";
    BuildCalculationDocument(ReportsIn(kDocumentData, kDocumentData / "xc.wmf"), docx);
    const std::string convert = office + " -env:UserInstallation=file://" +
                                (folder / "profile").string() +
                                " --headless --convert-to pdf --outdir '" + folder.path().string() +
                                "' '" + docx.string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(convert.c_str()), 0);
    const fs::path pdf = folder / "计算书.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    const fs::path text = folder / "text.txt";
    ASSERT_EQ(std::system(
                  ("pdftotext -enc UTF-8 '" + pdf.string() + "' '" + text.string() + "'").c_str()),
              0);
    const std::string rendered = WithoutBreaks(ReadBytes(text));

    std::size_t at = 0;
    int lines = 0;
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
        const std::string bytes = ReadBytes(kDocumentData / report);
        for (std::string_view raw : SplitLines(bytes)) {
            // As the document sets it: exponents raised, without their "^".
            const std::string line = WithoutBreaks(RunsText(ExponentRuns(Cp936ToUtf8(raw))));
            if (line.empty())
                continue;
            const std::size_t found = rendered.find(line, at);
            ASSERT_NE(found, std::string::npos) << report << ": \"" << line << "\" is missing";
            at = found + line.size();
            ++lines;
        }
    }
    EXPECT_GT(lines, 150);
    // The footer's fields: each page's number and the count.
    const std::string pages = ReadBytes(text);
    const auto count = static_cast<int>(std::count(pages.begin(), pages.end(), '\f'));
    ASSERT_GE(count, 4);
    for (int page = 1; page <= count; ++page) {
        const std::string footer =
            "第" + std::to_string(page) + "页共" + std::to_string(count) + "页";
        EXPECT_NE(rendered.find(footer), std::string::npos) << footer;
    }
}

}  // namespace
}  // namespace quoinry::document
