#include "app/WindowTimers.h"

#include <QTimerEvent>
#include <utility>

namespace ladoton {

WindowTimers::WindowTimers(QObject* parent, std::function<void(int)> onTimer)
    : QObject(parent), onTimer_(std::move(onTimer)) {}

void WindowTimers::start(int id, int periodMs) {
    stop(id);
    running_[id] = {startTimer(periodMs, Qt::PreciseTimer), periodMs};
}

void WindowTimers::stop(int id) {
    const auto found = running_.find(id);
    if (found != running_.end()) {
        killTimer(found->second.qtId);
        running_.erase(found);
    }
}

int WindowTimers::period(int id) const {
    const auto found = running_.find(id);
    return found == running_.end() ? 0 : found->second.periodMs;
}

void WindowTimers::timerEvent(QTimerEvent* event) {
    for (const auto& [id, timer] : running_) {
        if (timer.qtId == event->timerId()) {
            onTimer_(id);
            return;
        }
    }
    QObject::timerEvent(event);
}

} // namespace ladoton
