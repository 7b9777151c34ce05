#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>

#include "document/recorded_document.h"
#include "pdf/document_font.h"
#include "shell/form_host.h"

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

namespace quoinry::pdf {
class PagedDocument;
}

namespace quoinry::shell {

// "计算书", what 结果输出 shows: the document's pages as they print and as the PDF has them,
// with 打印 (the system's printers), 保存为PDF and 用字处理软件打开 (the .docx, as before).
// Without the document's font the window says which package to install; the .docx still works.
class DocumentWindow : public QDialog {
  public:
    // `docx_proposal`: the .docx file proposed; the PDF is proposed beside it as NAME.pdf.
    DocumentWindow(FormHost& host, document::RecordedDocument document,
                   std::filesystem::path docx_proposal, QWidget* parent = nullptr,
                   const std::filesystem::path& font_file = pdf::kDocumentFontFile);
    ~DocumentWindow() override;

    // The pages of the preview; 0 when there is none.
    int PageCount() const;

    void Print();
    void SavePdf();
    void OpenInWordProcessor();

  private:
    void BuildControls(const QString& font_problem);

    FormHost& host_;
    document::RecordedDocument document_;
    std::filesystem::path docx_proposal_;
    std::unique_ptr<pdf::PagedDocument> pages_;
    std::unique_ptr<QPrinter> preview_printer_;
    QPrintPreviewWidget* preview_ = nullptr;  // Preview
    QLabel* page_count_ = nullptr;            // PageCount
    QPushButton* print_ = nullptr;            // Print
    QPushButton* save_pdf_ = nullptr;         // SavePdf
    QPushButton* open_docx_ = nullptr;        // OpenDocx
};

// A printer set up for the document: A4 portrait, the whole sheet, the printer's resolution.
void SetUpForDocument(QPrinter& printer);

}  // namespace quoinry::shell
