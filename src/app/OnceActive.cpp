#include "app/OnceActive.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace ladoton {

namespace {

// Watches the window for its activation, runs the action once and goes.
class ActivationWatch final : public QObject {
  public:
    ActivationWatch(QWidget& window, std::function<void()> action, int limitMs)
        : QObject(&window), action_(std::move(action)) {
        window.installEventFilter(this);
        QTimer::singleShot(limitMs, this, [this] { run(); });
    }

  private:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate) {
            // After the activation is handled, not inside it.
            QTimer::singleShot(0, this, [this] { run(); });
        }
        return QObject::eventFilter(watched, event);
    }

    void run() {
        if (!action_) {
            return;
        }
        const std::function<void()> action = std::move(action_);
        action_ = nullptr;
        deleteLater();
        action();
    }

    std::function<void()> action_;
};

} // namespace

void runOnceActive(QWidget& window, std::function<void()> action, int limitMs) {
    if (window.isActiveWindow()) {
        action();
        return;
    }
    new ActivationWatch(window, std::move(action), limitMs);
}

} // namespace ladoton
