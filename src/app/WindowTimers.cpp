#include "app/WindowTimers.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimerEvent>
#include <utility>

namespace ladoton {

namespace {
bool isTimerEvent(const QEvent& event) {
    return event.type() == QEvent::Timer || event.type() == QEvent::ZeroTimerEvent;
}
} // namespace

WindowTimers::WindowTimers(QObject* parent, std::function<void(int)> onTimer)
    : QObject(parent), onTimer_(std::move(onTimer)) {}

void WindowTimers::start(int id, int periodMs) {
    stop(id);
    const bool sleeps = resting_ && restingIds_.count(id) != 0;
    running_[id] = {sleeps ? 0 : startTimer(periodMs, Qt::PreciseTimer), periodMs};
}

void WindowTimers::stop(int id) {
    const auto found = running_.find(id);
    if (found != running_.end()) {
        if (found->second.qtId != 0) {
            killTimer(found->second.qtId);
        }
        running_.erase(found);
    }
}

int WindowTimers::period(int id) const {
    const auto found = running_.find(id);
    return found == running_.end() ? 0 : found->second.periodMs;
}

void WindowTimers::restWhen(std::set<int> restingIds, std::function<bool()> nothingToDo) {
    restingIds_ = std::move(restingIds);
    nothingToDo_ = std::move(nothingToDo);
    QCoreApplication::instance()->installEventFilter(this);
}

void WindowTimers::timerEvent(QTimerEvent* event) {
    for (const auto& [id, timer] : running_) {
        if (timer.qtId == event->timerId()) {
            const int tickedId = id; // onTimer_ may restart timers and so change running_
            onTimer_(tickedId);
            if (restingIds_.count(tickedId) != 0 && nothingToDo_ && nothingToDo_()) {
                rest();
            }
            return;
        }
    }
    QObject::timerEvent(event);
}

bool WindowTimers::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (resting_ && !isTimerEvent(*event)) {
        wake();
    }
    return false;
}

void WindowTimers::rest() {
    for (auto& [id, timer] : running_) {
        if (restingIds_.count(id) != 0 && timer.qtId != 0) {
            killTimer(timer.qtId);
            timer.qtId = 0;
        }
    }
    resting_ = true;
}

void WindowTimers::wake() {
    resting_ = false;
    for (auto& [id, timer] : running_) {
        if (timer.qtId == 0) {
            timer.qtId = startTimer(timer.periodMs, Qt::PreciseTimer);
        }
    }
}

} // namespace ladoton
