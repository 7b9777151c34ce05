#include "pdf/pdf_writer.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "common/version.h"
#include "document/document_error.h"
#include "document/staged_file.h"
#include "pdf/paged_document.h"

namespace quoinry::pdf {
namespace {

using document::DocumentError;
using document::DocumentProblem;

}  // namespace

void WritePdf(const PagedDocument& pages, const std::filesystem::path& out) {
    document::StagedFile staged(out.has_parent_path() ? out.parent_path()
                                                      : std::filesystem::path("."));
    {
        QFile file(QString::fromStdString(staged.path().string()));
        if (!file.open(QIODevice::WriteOnly))
            throw DocumentError(DocumentProblem::DocumentUnwritable, out);
        QPdfWriter writer(&file);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(QString::fromStdString(pages.info().title));
        writer.setCreator(QStringLiteral("Quoinry ") + QString::fromLatin1(kVersion));
        if (!pages.Print(writer) || !file.flush() || file.error() != QFileDevice::NoError)
            throw DocumentError(DocumentProblem::DocumentUnwritable, out);
    }
    if (!staged.MoveTo(out))
        throw DocumentError(DocumentProblem::DocumentUnwritable, out);
}

document::Warnings WritePdf(const document::RecordedDocument& document,
                            const std::filesystem::path& out,
                            const std::filesystem::path& font_file) {
    const PagedDocument pages(document, font_file);
    WritePdf(pages, out);
    return pages.warnings();
}

}  // namespace quoinry::pdf
