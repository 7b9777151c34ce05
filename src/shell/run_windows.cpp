#include "shell/run_windows.h"

#include <QApplication>

#include "common/program_dir.h"
#include "shell/key_state.h"
#include "shell/main_form.h"
#include "shell/shell_services.h"

namespace quoinry::shell {

int RunWindows(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quoinry"));
    KeyStateWatcher key_state;
    application.installEventFilter(&key_state);
    DesktopServices services;
    MainForm main_form(services);
    main_form.show();
    const int status = QApplication::exec();
    // The reports of this process go with it.
    RemoveSessionDirectory();
    return status;
}

}  // namespace quoinry::shell
