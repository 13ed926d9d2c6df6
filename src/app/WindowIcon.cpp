#include "app/WindowIcon.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QMetaObject>
#include <QWidget>

namespace ladoton {

namespace {

class IconAfterFirstPaint final : public QObject {
  public:
    IconAfterFirstPaint(QWidget& window, QString path) : QObject(&window), path_(std::move(path)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After this paint has reached the screen.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    QApplication::setWindowIcon(QIcon(path_));
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

  private:
    QString path_;
};

} // namespace

void setWindowIconOnceShown(QWidget& window, const QString& path) {
    window.installEventFilter(new IconAfterFirstPaint(window, path));
}

} // namespace ladoton
