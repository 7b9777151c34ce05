#include "shell/progress_run.h"

#include <QApplication>
#include <QProgressDialog>
#include <algorithm>
#include <chrono>
#include <thread>

#include "shell/form_helpers.h"

namespace quoinry::shell {

std::string RunWithProgress(QWidget* parent, const char* name, const QString& title,
                            const QString& label, int total, const std::function<int()>& done,
                            const std::function<void(const std::atomic<bool>&)>& work,
                            std::atomic<bool>& stop) {
    QProgressDialog progress(label, QStringLiteral("取消"), 0, total, parent);
    progress.setObjectName(QString::fromLatin1(name));
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setValue(0);
    QApplication::processEvents();
    if (progress.wasCanceled())
        stop.store(true);
    std::atomic<bool> finished{false};
    std::string failure;
    std::thread worker([&] {
        try {
            work(stop);
        } catch (...) {
            try {
                failure = DescribeCurrentException();
            } catch (...) {
                failure = "未知的错误";
            }
        }
        finished.store(true);
    });
    while (!finished.load()) {
        progress.setValue(std::min(done(), total));
        QApplication::processEvents(QEventLoop::AllEvents, 30);
        if (progress.wasCanceled())
            stop.store(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
    worker.join();
    progress.setValue(total);
    return failure;
}

}  // namespace quoinry::shell
