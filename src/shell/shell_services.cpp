#include "shell/shell_services.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <cstdlib>

#include "platform/default_application.h"
#include "shell/section_picker.h"

namespace quoinry::shell {

void DesktopServices::Message(QWidget* parent, const QString& title, const QString& text,
                              MessageIcon icon) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(icon == MessageIcon::Information   ? QMessageBox::Information
                : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                   : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
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
