#include "shell/background_area.h"

#include <QPainter>
#include <QTimer>

namespace quoinry::shell {
namespace {

// Near the picture's own colours, so that its arrival does not flash.
const QColor kPlainBackground(101, 134, 169);

}  // namespace

BackgroundArea::BackgroundArea(QWidget* parent) : QMdiArea(parent) {
    setBackground(kPlainBackground);
}

void BackgroundArea::SetPictureFile(const QString& file) {
    file_ = file;
    picture_ = QImage();
    shown_ = QPixmap();
    viewport()->update();
}

void BackgroundArea::ReadPicture() {
    if (file_.isEmpty())
        return;
    picture_ = QImage(file_);
    file_.clear();
    viewport()->update();
}

void BackgroundArea::paintEvent(QPaintEvent* event) {
    if (!file_.isEmpty()) {
        // The window is on the screen first; the picture follows at once.
        QTimer::singleShot(0, this, [this] { ReadPicture(); });
    }
    if (picture_.isNull()) {
        QMdiArea::paintEvent(event);
        return;
    }
    const QSize size = viewport()->size();
    if (shown_.size() != size) {
        shown_ = QPixmap::fromImage(
            picture_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    QPainter painter(viewport());
    painter.drawPixmap(0, 0, shown_);
}

}  // namespace quoinry::shell
