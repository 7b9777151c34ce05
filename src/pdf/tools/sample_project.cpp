// A project document of the example designs, for the README's pictures and as an example of
// composing several designs through the document blocks:
//   quoinry_sample_project EXAMPLES_DIR OUT_DIR   writes OUT_DIR/sample-project.pdf and .docx
// Run by scripts/document-pictures.sh.
#include <QGuiApplication>
#include <cstdio>
#include <filesystem>

#include "common/shared_values.h"
#include "design/design_file.h"
#include "design/design_run.h"
#include "document/calculation_document.h"
#include "document/document_error.h"
#include "document/report_text.h"
#include "pdf/pdf_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace quoinry;

struct DesignDocument {
    std::string name;
    DesignRunResult result;
    document::ReportTexts reports;
};

DesignDocument Run(const fs::path& file, const fs::path& reports) {
    const Design design = ReadDesignFile(file).design;
    SharedValues shared;
    DesignDocument run{design.info.name.empty() ? file.stem().string() : design.info.name,
                       RunDesign(design, reports, shared),
                       {}};
    run.reports = {document::AsFileLines(run.result.wind_lines),
                   document::AsFileLines(run.result.glass_lines),
                   document::AsFileLines(run.result.member_lines), std::nullopt};
    if (!design.picture.empty())
        run.reports.picture = design.picture;
    return run;
}

std::string Fixed3(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

document::TableCell Verdict(bool known, bool ok) {
    if (!known)
        return document::Cell("—");
    return document::Cell(ok ? "满足" : "不满足", !ok);
}

document::RecordedDocument ComposeProject(const std::vector<DesignDocument>& designs,
                                          document::Warnings& warnings) {
    document::RecordedDocument project({"项目计算书", "张工", std::time(nullptr)});
    project.Cover(
        {"示例工程 门窗结构计算书",
         {"工程名称:示例工程", "设计人:张工", "计算依据:GB50009-2001  JGJ102-2003  JGJ113-2003"}});
    project.PageBreak();
    project.Contents(2);
    project.PageBreak();
    project.Heading(1, document::PlainRuns("计算结果汇总"));
    document::DocumentTable summary;
    summary.header = {document::Cell("设计"), document::Cell("Wk(kN/m^2)"), document::Cell("玻璃"),
                      document::Cell("杆件")};
    summary.column_weights = {3, 1.5, 1, 1};
    for (const DesignDocument& design : designs) {
        const DesignRunResult& r = design.result;
        summary.rows.push_back({document::Cell(design.name),
                                document::Cell(r.wind ? Fixed3(r.wind->wk) : "—"),
                                Verdict(r.glass.has_value(), r.glass && r.glass->ok),
                                Verdict(r.member.has_value(), r.member && r.member->ok)});
    }
    project.Table(summary);
    for (const DesignDocument& design : designs) {
        project.PageBreak();
        project.Heading(1, document::PlainRuns(design.name));
        document::ComposeDesignChapter(design.reports, project, warnings, 2);
    }
    return project;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quoinry_sample_project EXAMPLES_DIR OUT_DIR\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const fs::path examples = argv[1];
    const fs::path out = argv[2];
    std::vector<DesignDocument> designs;
    for (const char* name : {"guangzhou-c1-3-sliding.ini", "shanghai-24f-c2-casement.ini",
                             "shanghai-24f-residential.ini"})
        designs.push_back(Run(examples / name, out / "reports" / fs::path(name).stem()));
    try {
        document::Warnings warnings;
        const document::RecordedDocument project = ComposeProject(designs, warnings);
        for (const std::string& warning : warnings) std::fprintf(stderr, "%s\n", warning.c_str());
        pdf::WritePdf(project, out / "sample-project.pdf");
        document::WriteDocxDocument(project, out / "sample-project.docx");
    } catch (const document::DocumentError& error) {
        std::fprintf(stderr, "%s\n", document::ErrorLine(error).c_str());
        return 1;
    }
    return 0;
}
