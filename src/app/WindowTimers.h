#pragma once

#include <QObject>
#include <functional>
#include <map>

namespace ladoton {

// The window's timers, known by the window's own ids. Their events come to an object of their
// own rather than to the window: an event for a widget passes the event filters set on it
// (the menu bar's among them), and the step timer alone comes a hundred times a second.
class WindowTimers : public QObject {
  public:
    WindowTimers(QObject* parent, std::function<void(int)> onTimer);

    // (Re)starts the timer of id with the period.
    void start(int id, int periodMs);
    void stop(int id);
    // Period of a running timer in ms, 0 when it is not running.
    int period(int id) const;

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    struct Running {
        int qtId;
        int periodMs;
    };

    std::function<void(int)> onTimer_;
    std::map<int, Running> running_; // by our id
};

} // namespace ladoton
