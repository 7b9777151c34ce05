#pragma once

#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "shell/child_form.h"
#include "shell/form_host.h"

namespace quoinry::shell {

// The programs that show the system's information, looked for on PATH in this order.
inline const QStringList kSystemInformationPrograms = {
    QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter")};

// "关于": title, version and notices; starts the system information program.
class AboutForm : public ChildForm {
  public:
    explicit AboutForm(FormHost& host, QWidget* parent = nullptr);

    void Load() override;

    // What the program does today, the codes named from the edition list.
    static QString Description();

  private:
    void StartSysInfo();

    FormHost& host_;
    QLabel* icon_;           // picIcon
    QLabel* title_;          // lblTitle
    QLabel* version_;        // lblVersion
    QLabel* description_;    // lblDescription
    QLabel* disclaimer_;     // lblDisclaimer
    QPushButton* ok_;        // cmdOK
    QPushButton* sys_info_;  // cmdSysInfo
};

}  // namespace quoinry::shell
