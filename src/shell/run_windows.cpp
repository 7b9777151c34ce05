#include "shell/run_windows.h"

#include <QApplication>

#include "shell/key_state.h"
#include "shell/main_form.h"
#include "shell/qt_translations.h"
#include "shell/shell_services.h"

namespace quoinry::shell {

int RunWindows(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quoinry"));
    InstallQtTranslations(application);
    KeyStateWatcher key_state;
    application.installEventFilter(&key_state);
    DesktopServices services;
    MainForm main_form(services);
    main_form.show();
    return QApplication::exec();
}

}  // namespace quoinry::shell
