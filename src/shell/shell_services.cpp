#include "shell/shell_services.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "common/numbers.h"
#include "common/program_dir.h"
#include "db/connection.h"
#include "db/location.h"
#include "db/station_lookup.h"
#include "design/input_fields.h"
#include "platform/default_application.h"
#include "shell/form_helpers.h"
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
    // At once, as the toolbar promises: open connections are dropped with the process. The
    // reports of this process go with it.
    RemoveSessionDirectory();
    std::_Exit(0);
}

namespace {

const QString kDesignFilter = QStringLiteral("设计文件 (*.ini);;所有文件 (*)");

}  // namespace

QString DesktopServices::DesignFileToOpen(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("打开设计"), QString(),
                                        kDesignFilter);
}

QString DesktopServices::DesignFileToSave(QWidget* parent, const QString& proposal) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("保存设计"), proposal,
                                        kDesignFilter);
}

QString DesktopServices::DocumentFileToSave(QWidget* parent, const QString& proposal) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("保存计算书"), proposal,
                                        QStringLiteral("Word 文档 (*.docx)"));
}

QString DesktopServices::PdfFileToSave(QWidget* parent, const QString& proposal) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("保存计算书"), proposal,
                                        QStringLiteral("PDF 文件 (*.pdf)"));
}

void DesktopServices::ShowDocument(QDialog& window) {
    window.exec();
}

bool DesktopServices::ChoosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印计算书"));
    return dialog.exec() == QDialog::Accepted;
}

SaveChoice DesktopServices::AskSaveChanges(QWidget* parent, const QString& kind,
                                           const QString& title) {
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("系统提示"));
    box.setIcon(QMessageBox::Question);
    box.setText(QStringLiteral("%1“%2”有未保存的修改。是否保存?").arg(kind, title));
    QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
    box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    return box.clickedButton() == discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

namespace {

// 确定 and 取消 under the form; true when the engineer confirmed it.
bool AcceptedWithOkOrCancel(QDialog& dialog, QFormLayout& layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addRow(buttons);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

std::optional<DesignInfo> DesktopServices::EditDesignInfo(QWidget* parent, const DesignInfo& info) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("designInfoForm"));
    dialog.setWindowTitle(QStringLiteral("设计信息"));
    auto* layout = new QFormLayout(&dialog);
    auto field = [&](const char* name, const QString& label, const std::string& text) {
        auto* box = new QLineEdit(QString::fromStdString(text), &dialog);
        box->setObjectName(QString::fromLatin1(name));
        box->setMinimumWidth(320);
        layout->addRow(label, box);
        return box;
    };
    QLineEdit* name = field("DesignName", QStringLiteral("设计名称(如窗号)"), info.name);
    QLineEdit* project = field("DesignProject", QStringLiteral("工程名称"), info.project);
    QLineEdit* engineer = field("DesignEngineer", QStringLiteral("设计"), info.engineer);
    QLineEdit* checker = field("DesignChecker", QStringLiteral("校核"), info.checker);
    QLineEdit* approver = field("DesignApprover", QStringLiteral("审核"), info.approver);
    QLineEdit* date = field("DesignDate", QStringLiteral("日期(空则取计算书输出之日)"), info.date);
    if (!AcceptedWithOkOrCancel(dialog, *layout))
        return std::nullopt;
    auto text = [](const QLineEdit* box) { return box->text().trimmed().toStdString(); };
    return DesignInfo{text(name),    text(project),  text(engineer),
                      text(checker), text(approver), text(date)};
}

QString DesktopServices::FileToOpen(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString DesktopServices::FileToSave(QWidget* parent, const QString& title, const QString& filter,
                                    const QString& proposal) {
    return QFileDialog::getSaveFileName(parent, title, proposal, filter);
}

namespace {

// An editable list of the input table's field (its shown items), for the project's site.
QComboBox* SiteList(QDialog& dialog, const char* name, const InputField& field,
                    const std::string& stored) {
    auto* list = NewComboBox(&dialog, name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (std::size_t i = 0; i < field.choices.size(); ++i)
        list->addItem(Q(ShownChoice(field, field.choices[i])));
    SetText(list, ShownChoice(field, stored));
    return list;
}

}  // namespace

std::optional<ProjectInfo> DesktopServices::EditProjectInfo(QWidget* parent,
                                                            const ProjectInfo& info) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("projectInfoForm"));
    dialog.setWindowTitle(QStringLiteral("工程信息"));
    auto* layout = new QFormLayout(&dialog);
    ProjectInfo edited = info;
    std::vector<std::pair<QLineEdit*, std::string*>> boxes;
    auto field = [&](const char* name, const QString& label, std::string& text) {
        auto* box = new QLineEdit(QString::fromStdString(text), &dialog);
        box->setObjectName(QString::fromLatin1(name));
        box->setMinimumWidth(320);
        layout->addRow(label, box);
        boxes.emplace_back(box, &text);
        return box;
    };
    // The site as the wind window takes it: the same lists, labels and units.
    const InputField& region_field = *FindInputField("glass", "co1");
    const InputField& city_field = *FindInputField("glass", "co2");
    const InputField& terrain_field = *FindInputField("glass", "co3");
    const InputField& edition_field = *FindInputField("glass", "edition");
    field("ProjectName", QStringLiteral("工程名称"), edited.name);
    auto* region = SiteList(dialog, "ProjectRegion", region_field, info.region);
    auto* city = SiteList(dialog, "ProjectCity", city_field, info.city);
    layout->addRow(Q(FieldCaption(region_field)), region);
    layout->addRow(Q(FieldCaption(city_field)), city);
    QLineEdit* w0 = field("ProjectW0", Q(FieldCaption(*FindInputField("glass", "te1"))), edited.w0);
    auto* terrain = SiteList(dialog, "ProjectTerrain", terrain_field, info.terrain);
    layout->addRow(Q(FieldCaption(terrain_field)), terrain);
    auto* edition = SiteList(dialog, "ProjectEdition", edition_field, info.edition);
    edition->setEditable(false);
    layout->addRow(Q(FieldCaption(edition_field)), edition);
    field("ProjectDesigner", QStringLiteral("设计"), edited.designer);
    field("ProjectChecker", QStringLiteral("校核"), edited.checker);
    field("ProjectApprover", QStringLiteral("审核"), edited.approver);
    field("ProjectDate", QStringLiteral("日期"), edited.date);

    db::Connection connection;
    try {
        connection.Open(db::ConfiguredLocation());
        AppendItems(region, db::ListRegions(connection));
    } catch (const std::exception&) {  // without the station table the lists stay empty
    }
    QObject::connect(region, &QComboBox::activated, &dialog, [&] {
        try {
            ReplaceItems(city, db::ListCities(connection, TextOf(region)));
            city->setCurrentIndex(0);
            emit city->activated(0);
        } catch (const std::exception&) {
        }
    });
    QObject::connect(city, &QComboBox::activated, &dialog, [&] {
        try {
            if (const auto pressure =
                    db::BasicWindPressure(connection, TextOf(region), TextOf(city)))
                w0->setText(Q(*pressure));
        } catch (const std::exception&) {
        }
    });
    if (!AcceptedWithOkOrCancel(dialog, *layout))
        return std::nullopt;
    for (const auto& [box, text] : boxes) *text = box->text().trimmed().toStdString();
    edited.w0 = AsciiNumberText(edited.w0);
    edited.region = TextOf(region);
    edited.city = TextOf(city);
    edited.terrain = StoredChoice(terrain_field, TextOf(terrain));
    edited.edition = StoredChoice(edition_field, TextOf(edition));
    return edited;
}

std::unique_ptr<QDialog> NewChooseRowDialog(QWidget* parent, const QString& title,
                                            const QStringList& header,
                                            const std::vector<QStringList>& rows) {
    auto owned = std::make_unique<QDialog>(parent);
    QDialog& dialog = *owned;
    dialog.setObjectName(QStringLiteral("chooseRowForm"));
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* table = new QTableWidget(static_cast<int>(rows.size()), header.size(), &dialog);
    table->setObjectName(QStringLiteral("Rows"));
    table->setHorizontalHeaderLabels(header);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            table->setItem(static_cast<int>(r), c, new QTableWidgetItem(rows[r][c]));
    }
    table->resizeColumnsToContents();
    table->selectRow(0);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("选用"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(table, &QTableWidget::cellDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(660, 360);
    return owned;
}

std::optional<std::size_t> DesktopServices::ChooseRow(QWidget* parent, const QString& title,
                                                      const QStringList& header,
                                                      const std::vector<QStringList>& rows) {
    const std::unique_ptr<QDialog> dialog = NewChooseRowDialog(parent, title, header, rows);
    const auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("Rows"));
    if (dialog->exec() != QDialog::Accepted || table->currentRow() < 0)
        return std::nullopt;
    return static_cast<std::size_t>(table->currentRow());
}

bool MaySetAside(ShellServices& services, QWidget* parent, bool modified, const QString& kind,
                 const QString& title, const std::function<bool()>& save) {
    if (!modified)
        return true;
    switch (services.AskSaveChanges(parent, kind, title)) {
        case SaveChoice::Save:
            return save();
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

}  // namespace quoinry::shell
