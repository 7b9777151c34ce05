#include "shell/progress_run.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <algorithm>
#include <memory>

#include "shell/form_helpers.h"

namespace quoinry::shell {

std::string RunWithProgress(QWidget* parent, const char* name, const QString& title,
                            const QString& label, int total, const ProgressWork& work,
                            std::atomic<bool>& stop) {
    QProgressDialog progress(label, QStringLiteral("取消"), 0, total, parent);
    progress.setObjectName(QString::fromLatin1(name));
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setValue(0);
    QObject::connect(&progress, &QProgressDialog::canceled, [&stop] { stop.store(true); });
    // A 取消 already waiting stops the work before it starts.
    QApplication::processEvents();
    if (progress.wasCanceled())
        stop.store(true);
    // Posted to the dialog, so that it is only touched on its own thread; what is still posted
    // when the dialog goes, goes with it.
    const Progressed progressed = [&progress, total](int done) {
        QMetaObject::invokeMethod(
            &progress, [&progress, done, total] { progress.setValue(std::min(done, total)); },
            Qt::QueuedConnection);
    };
    std::string failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            work(stop, progressed);
        } catch (...) {
            try {
                failure = DescribeCurrentException();
            } catch (...) {
                failure = "未知的错误";
            }
        }
    }));
    QEventLoop loop;
    // Queued: a thread that ends before the loop runs still ends it.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    worker->start();
    loop.exec();
    worker->wait();
    progress.setValue(total);
    return failure;
}

}  // namespace quoinry::shell
