// The window tests run on Qt's offscreen platform: no display is needed.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "shell/key_state.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quoinry"));
    quoinry::shell::KeyStateWatcher key_state;
    application.installEventFilter(&key_state);
    return RUN_ALL_TESTS();
}
