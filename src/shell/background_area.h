#pragma once

#include <QImage>
#include <QMdiArea>
#include <QPixmap>
#include <QString>

namespace quoinry::shell {

// The client area with the background picture drawn to its size. The picture is read right after
// the first paint, so that the main window does not wait for it, and scaled once for each size
// of the area rather than at every paint.
class BackgroundArea : public QMdiArea {
  public:
    explicit BackgroundArea(QWidget* parent = nullptr);
    // A missing or unreadable file leaves the background plain.
    void SetPictureFile(const QString& file);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void ReadPicture();

    QString file_;  // read after the next paint
    QImage picture_;
    QPixmap shown_;  // the picture at the size of the area
};

}  // namespace quoinry::shell
