#include "app/WindowTimers.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimerEvent>
#include <algorithm>
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
    const RestingGroup* group = groupOf(id);
    const bool sleeps = group != nullptr && group->resting;
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
    groups_.push_back({std::move(restingIds), std::move(nothingToDo)});
    QCoreApplication::instance()->installEventFilter(this);
}

bool WindowTimers::resting() const {
    return !groups_.empty() && std::all_of(groups_.begin(), groups_.end(),
                                           [](const RestingGroup& group) { return group.resting; });
}

WindowTimers::RestingGroup* WindowTimers::groupOf(int id) {
    for (RestingGroup& group : groups_) {
        if (group.ids.count(id) != 0) {
            return &group;
        }
    }
    return nullptr;
}

void WindowTimers::timerEvent(QTimerEvent* event) {
    for (const auto& [id, timer] : running_) {
        if (timer.qtId == event->timerId()) {
            const int tickedId = id; // onTimer_ may restart timers and so change running_
            onTimer_(tickedId);
            RestingGroup* group = groupOf(tickedId);
            if (group != nullptr && group->nothingToDo && group->nothingToDo()) {
                rest(*group);
            }
            return;
        }
    }
    QObject::timerEvent(event);
}

bool WindowTimers::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (anyResting_ && !isTimerEvent(*event)) {
        wake();
    }
    return false;
}

void WindowTimers::rest(RestingGroup& group) {
    for (auto& [id, timer] : running_) {
        if (group.ids.count(id) != 0 && timer.qtId != 0) {
            killTimer(timer.qtId);
            timer.qtId = 0;
        }
    }
    group.resting = true;
    anyResting_ = true;
}

void WindowTimers::wake() {
    anyResting_ = false;
    for (RestingGroup& group : groups_) {
        group.resting = false;
    }
    for (auto& [id, timer] : running_) {
        if (timer.qtId == 0) {
            timer.qtId = startTimer(timer.periodMs, Qt::PreciseTimer);
        }
    }
}

} // namespace ladoton
