#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace ladoton {

// The window's timers, known by the window's own ids. Their events come to an object of their
// own rather than to the window: an event for a widget passes the event filters set on it
// (the menu bar's among them), and the step timer alone comes a hundred times a second.
//
// Timers named as able to rest stop waking the process once a tick of theirs finds nothing to
// do, and start again, with their periods, at the next event the application receives: only an
// event (a key, the mouse, the window shown, a message from a MIDI thread) can give them work.
// Each group of them named together rests by its own condition.
class WindowTimers : public QObject {
  public:
    WindowTimers(QObject* parent, std::function<void(int)> onTimer);

    // (Re)starts the timer of id with the period.
    void start(int id, int periodMs);
    void stop(int id);
    // Period of a running timer in ms, 0 when it is not running. A resting timer is running.
    int period(int id) const;

    // After a tick of one of these timers, they rest while nothingToDo says so.
    void restWhen(std::set<int> restingIds, std::function<bool()> nothingToDo);
    // Whether every group is resting.
    bool resting() const;

  protected:
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Running {
        int qtId; // 0 while resting
        int periodMs;
    };

    struct RestingGroup {
        std::set<int> ids;
        std::function<bool()> nothingToDo;
        bool resting = false;
    };

    RestingGroup* groupOf(int id);
    void rest(RestingGroup& group);
    void wake();

    std::function<void(int)> onTimer_;
    std::map<int, Running> running_; // by our id
    std::vector<RestingGroup> groups_;
    bool anyResting_ = false;
};

} // namespace ladoton
