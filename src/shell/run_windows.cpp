#include "shell/run_windows.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdlib>

#include "common/program_dir.h"
#include "shell/key_state.h"
#include "shell/main_form.h"
#include "shell/qt_translations.h"
#include "shell/shell_services.h"

namespace quoinry::shell {
namespace {

// For the start-up benchmark (scripts/startup-time.sh): ends the program once the main window
// has painted itself for the first time.
class FirstPaintExit : public QObject {
  public:
    explicit FirstPaintExit(QWidget* window) : window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !ending_) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && widget->window() == window_) {
                ending_ = true;
                // After this paint has reached the screen.
                QTimer::singleShot(0, [] { std::_Exit(0); });
            }
        }
        return false;
    }

  private:
    QWidget* window_;
    bool ending_ = false;
};

}  // namespace

int RunWindows(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quoinry"));
    InstallQtTranslations(application);
    KeyStateWatcher key_state;
    application.installEventFilter(&key_state);
    DesktopServices services;
    MainForm main_form(services);
    FirstPaintExit first_paint(&main_form);
    if (std::getenv("QUOINRY_EXIT_AFTER_FIRST_PAINT") != nullptr)
        application.installEventFilter(&first_paint);
    main_form.show();
    const int status = QApplication::exec();
    // The reports of this process go with it.
    RemoveSessionDirectory();
    return status;
}

}  // namespace quoinry::shell
