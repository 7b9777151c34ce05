#include "pdf/pdf_writer.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "common/atomic_file.h"
#include "common/version.h"
#include "document/document_error.h"
#include "pdf/paged_document.h"

namespace quoinry::pdf {
namespace {

using document::DocumentError;
using document::DocumentProblem;

}  // namespace

void WritePdf(const PagedDocument& pages, const std::filesystem::path& out) {
    // Drawn into memory first: QPdfWriter does not notice a short write to a file (a full disk,
    // a file size limit), which would leave a cut-off PDF in place of an older one.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(QString::fromStdString(pages.info().title));
        writer.setCreator(QStringLiteral("Quoinry ") + QString::fromLatin1(kVersion));
        if (!pages.Print(writer))
            throw DocumentError(DocumentProblem::DocumentUnwritable, out);
    }
    if (WriteFileAtomically(
            out, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        throw DocumentError(DocumentProblem::DocumentUnwritable, out);
    }
}

document::Warnings WritePdf(const document::RecordedDocument& document,
                            const std::filesystem::path& out,
                            const std::filesystem::path& font_file) {
    const PagedDocument pages(document, font_file);
    WritePdf(pages, out);
    return pages.warnings();
}

}  // namespace quoinry::pdf
