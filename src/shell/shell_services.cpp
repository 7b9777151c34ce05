#include "shell/shell_services.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QProcess>
#include <algorithm>
#include <cstdlib>

#include "platform/default_application.h"
#include "shell/section_picker.h"

namespace quoinry::shell {

std::unique_ptr<QMessageBox> NewMessageBox(QWidget* parent, const QString& title,
                                           const QString& text, MessageIcon icon) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
    box->setWindowTitle(title);
    box->setText(text);
    box->setIcon(icon == MessageIcon::Information   ? QMessageBox::Information
                 : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                    : QMessageBox::NoIcon);
    box->setStandardButtons(QMessageBox::Ok);
    // QMessageBox sizes itself to its text and ignores a minimum width; a spacer in its grid
    // keeps room for the title, the icon and the close button of the frame.
    const int title_width = QFontMetrics(box->font()).horizontalAdvance(title) * 3 / 2 + 160;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(new QSpacerItem(std::max(280, title_width), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

void DesktopServices::Message(QWidget* parent, const QString& title, const QString& text,
                              MessageIcon icon) {
    NewMessageBox(parent, title, text, icon)->exec();
}

bool DesktopServices::Ask(QWidget* parent, const QString& title, const QString& text) {
    const std::unique_ptr<QMessageBox> box = NewMessageBox(parent, title, text, MessageIcon::None);
    box->setIcon(QMessageBox::Question);
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::No);
    return box->exec() == QMessageBox::Yes;
}

QString DesktopServices::DrawingFile(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("打开型材截面图"), QString(),
                                        QStringLiteral("DXF 图形 (*.dxf *.DXF)"));
}

std::optional<std::size_t> DesktopServices::PickRegion(
    QWidget* parent, const profile::Drawing& drawing, const std::vector<profile::Region>& regions) {
    SectionPicker picker(drawing, regions, parent);
    if (picker.exec() != QDialog::Accepted)
        return std::nullopt;
    return picker.picked();
}

bool DesktopServices::OpenFile(const std::filesystem::path& file) {
    return platform::OpenWithDefaultApplication(file);
}

bool DesktopServices::StartProgram(const QString& program) {
    return QProcess::startDetached(program, {});
}

void DesktopServices::Quit() {
    // At once, as the toolbar promises: open connections are dropped with the process.
    std::_Exit(0);
}

}  // namespace quoinry::shell
