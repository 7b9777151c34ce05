#include "shell/about_form.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "common/version.h"
#include "design/input_fields.h"
#include "shell/form_helpers.h"
#include "shell/pictures.h"

namespace quoinry::shell {
namespace {

const QString kProductFamily = QStringLiteral("铝合金门窗结构计算");

}  // namespace

AboutForm::AboutForm(FormHost& host, QWidget* parent) : ChildForm(parent), host_(host) {
    setObjectName(QStringLiteral("frmAbout"));
    icon_ = NewLabel(this, "picIcon", QString());
    icon_->setPixmap(ToolbarIcon(3).pixmap(48, 48));
    icon_->setFixedSize(56, 56);
    title_ = NewLabel(this, "lblTitle", QString());
    QFont title_font = title_->font();
    title_font.setPointSizeF(title_font.pointSizeF() * 1.4);
    title_font.setBold(true);
    title_->setFont(title_font);
    version_ = NewLabel(this, "lblVersion", QString());
    // Set before the window takes its size, so that the whole text shows.
    description_ = NewLabel(this, "lblDescription", Description());
    description_->setWordWrap(true);
    disclaimer_ = NewLabel(this, "lblDisclaimer", QStringLiteral("警告: "));
    disclaimer_->setWordWrap(true);
    ok_ = NewButton(this, "cmdOK", QStringLiteral("确  定"));
    sys_info_ = NewButton(this, "cmdSysInfo", QStringLiteral("系统信息(&S)"));
    for (QPushButton* button : {ok_, sys_info_}) button->setMinimumWidth(110);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* grid = new QGridLayout(this);
    grid->addWidget(icon_, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(title_, 0, 1);
    grid->addWidget(version_, 1, 1);
    grid->addWidget(description_, 2, 1);
    grid->addWidget(line, 3, 0, 1, 2);
    grid->addWidget(disclaimer_, 4, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(sys_info_);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 5, 1);
    grid->setColumnMinimumWidth(1, 380);
    description_->setMinimumHeight(96);
    disclaimer_->setMinimumHeight(64);

    connect(ok_, &QPushButton::clicked, this, [this] { Unload(); });
    connect(sys_info_, &QPushButton::clicked, this, [this] { StartSysInfo(); });
}

void AboutForm::Load() {
    host_.CenterInMainWindow(this);
    const QString title = QStringLiteral("关于") + kProductFamily + QStringLiteral("--Quoinry系统");
    setWindowTitle(title);
    if (parentWidget() != nullptr)
        parentWidget()->setWindowTitle(title);
    title_->setText(title);
    version_->setText(QStringLiteral("版本:V") + QString::fromLatin1(kVersion));
    disclaimer_->setText(
        disclaimer_->text() +
        QStringLiteral("本程序的计算结果须由具备资格的结构工程师复核后方可用于设计。"
                       "本程序按 GPL-3.0-or-later 许可发布,使用中的问题请向"
                       "项目维护者反映。"));
}

QString AboutForm::Description() {
    // The codes as the edition list names them: one table for both.
    const InputField& editions = *FindInputField("glass", "edition");
    QStringList codes;
    for (std::string_view edition : editions.choices) codes << Q(ShownChoice(editions, edition));
    return QStringLiteral(
               "%1系统按 %2(每个设计选其一,新的设计按现行规范)以及 JGJ 102-2003、JGJ 113-2003 "
               "计算门窗的风荷载、玻璃的强度与挠度、受力杆件的强度、抗剪与挠度,并输出计算书。\n"
               "设计可保存为设计文件;工程把一栋楼的各个门窗位置放在一起,可导入门窗表"
               "(.csv、.xlsx),全部计算后导出汇总和工程计算书。计算书可预览、打印、保存为 PDF "
               "或用文字处理软件打开。命令行 quoinry run、quoinry batch 做同样的计算。")
        .arg(kProductFamily, codes.join(QStringLiteral(" 或 ")));
}

void AboutForm::StartSysInfo() {
    for (const QString& name : kSystemInformationPrograms) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty() && host_.Services().StartProgram(program))
            return;
    }
    host_.Services().Message(this, QCoreApplication::applicationName(),
                             QStringLiteral("此时系统信息不可用"), MessageIcon::None);
}

}  // namespace quoinry::shell
