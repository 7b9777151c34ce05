#include "shell/document_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "document/document_error.h"
#include "document/document_placement.h"
#include "pdf/paged_document.h"
#include "pdf/pdf_writer.h"
#include "shell/busy_cursor.h"
#include "shell/folders.h"
#include "shell/form_helpers.h"

namespace quoinry::shell {

void SetUpForDocument(QPrinter& printer) {
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("计算书"));
}

DocumentWindow::DocumentWindow(FormHost& host, document::RecordedDocument document,
                               std::filesystem::path docx_proposal, QWidget* parent,
                               const std::filesystem::path& font_file)
    : QDialog(parent),
      host_(host),
      document_(std::move(document)),
      docx_proposal_(std::move(docx_proposal)) {
    setObjectName(QStringLiteral("documentForm"));
    setWindowTitle(QStringLiteral("计算书"));
    QString font_problem;
    try {
        pages_ = std::make_unique<pdf::PagedDocument>(document_, font_file);
    } catch (const document::DocumentError& error) {
        font_problem = Q(document::ErrorLine(error));
    }
    BuildControls(font_problem);
}

DocumentWindow::~DocumentWindow() = default;

void DocumentWindow::BuildControls(const QString& font_problem) {
    print_ = NewButton(this, "Print", QStringLiteral("打印..."));
    save_pdf_ = NewButton(this, "SavePdf", QStringLiteral("保存为PDF..."));
    open_docx_ = NewButton(this, "OpenDocx", QStringLiteral("用字处理软件打开"));
    QPushButton* zoom_in = NewButton(this, "ZoomIn", QStringLiteral("放大"));
    QPushButton* zoom_out = NewButton(this, "ZoomOut", QStringLiteral("缩小"));
    QPushButton* close = NewButton(this, "Close", QStringLiteral("关闭"));
    page_count_ = NewLabel(this, "PageCount", QString());

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {print_, save_pdf_, open_docx_}) buttons->addWidget(button);
    buttons->addSpacing(16);
    buttons->addWidget(zoom_in);
    buttons->addWidget(zoom_out);
    buttons->addSpacing(16);
    buttons->addWidget(page_count_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);

    if (pages_ != nullptr) {
        preview_printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        SetUpForDocument(*preview_printer_);
        preview_ = new QPrintPreviewWidget(preview_printer_.get(), this);
        preview_->setObjectName(QStringLiteral("Preview"));
        preview_->setZoomMode(QPrintPreviewWidget::FitToWidth);
        connect(preview_, &QPrintPreviewWidget::paintRequested, this,
                [this](QPrinter* printer) { pages_->Print(*printer); });
        layout->addWidget(preview_, 1);
        preview_->updatePreview();
        page_count_->setText(QStringLiteral("共 %1 页").arg(preview_->pageCount()));
        connect(zoom_in, &QPushButton::clicked, preview_, [this] { preview_->zoomIn(); });
        connect(zoom_out, &QPushButton::clicked, preview_, [this] { preview_->zoomOut(); });
    } else {
        // The .docx needs no font of ours; printing and the PDF do.
        QLabel* problem = NewLabel(this, "FontProblem", font_problem);
        problem->setWordWrap(true);
        layout->addWidget(problem, 1);
        for (QPushButton* button : {print_, save_pdf_, zoom_in, zoom_out})
            button->setEnabled(false);
    }
    connect(print_, &QPushButton::clicked, this, [this] { Print(); });
    connect(save_pdf_, &QPushButton::clicked, this, [this] { SavePdf(); });
    connect(open_docx_, &QPushButton::clicked, this, [this] { OpenInWordProcessor(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    // Most of the screen's height for a page at a readable size.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int height = screen != nullptr ? screen->availableGeometry().height() * 9 / 10 : 900;
    resize(std::min(height * 5 / 6, 900), height);
}

int DocumentWindow::PageCount() const {
    return preview_ != nullptr ? preview_->pageCount() : 0;
}

void DocumentWindow::Print() {
    if (pages_ == nullptr)
        return;
    QPrinter printer(QPrinter::HighResolution);
    SetUpForDocument(printer);
    if (!host_.Services().ChoosePrinter(this, printer))
        return;
    if (!pages_->Print(printer)) {
        ShowErrorBox(host_, this,
                     "无法打印到 " + S(printer.printerName()) + ",请检查打印机是否可用");
    }
}

void DocumentWindow::SavePdf() {
    if (pages_ == nullptr)
        return;
    std::filesystem::path proposal = docx_proposal_;
    proposal.replace_extension(".pdf");
    const QString chosen = host_.Services().PdfFileToSave(this, Q(proposal.string()));
    if (chosen.isEmpty())
        return;
    const std::filesystem::path file(S(chosen));
    RememberFolder(FileKind::Document, file);
    {
        const BusyCursor busy;
        if (!Reported(host_, this, [&] { pdf::WritePdf(*pages_, file); }))
            return;
    }
    for (const std::string& warning : pages_->warnings()) ShowExclamation(host_, this, Q(warning));
    ShowInformation(host_, this, Q("计算书已保存为 " + file.string()));
}

void DocumentWindow::OpenInWordProcessor() {
    const QString chosen = host_.Services().DocumentFileToSave(this, Q(docx_proposal_.string()));
    if (chosen.isEmpty())
        return;
    RememberFolder(FileKind::Document, std::filesystem::path(S(chosen)));
    std::filesystem::path file;
    bool opened = false;
    {
        const BusyCursor busy;
        if (!Reported(host_, this, [&] {
                file = document::PlaceDocxDocument(document_, std::filesystem::path(S(chosen)));
            }))
            return;
        opened = host_.Services().OpenFile(file);
    }
    // Without a word processor the document is still there: that is information, not an error.
    ShowInformation(host_, this,
                    opened ? QStringLiteral("计算书输出完成!")
                           : Q("计算书输出完成,已保存为 " + file.string() +
                               "。没有找到能打开它的文字处理程序,请用 Word、WPS 或 LibreOffice "
                               "打开这个文件。"));
}

}  // namespace quoinry::shell
