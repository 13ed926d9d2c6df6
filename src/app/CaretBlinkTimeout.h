#pragma once

#include <QObject>
#include <QTimer>

namespace ladoton {

// Stops the text caret from blinking after a while without input, as GTK desktops do, and
// lets it blink again at the next key or click. A blinking caret repaints its edit twice a
// second for as long as the window has focus, so an idle window would never sleep.
class CaretBlinkTimeout final : public QObject {
  public:
    static constexpr int DefaultTimeoutMs = 10000;

    explicit CaretBlinkTimeout(int timeoutMs = DefaultTimeoutMs);
    ~CaretBlinkTimeout() override;
    CaretBlinkTimeout(const CaretBlinkTimeout&) = delete;
    CaretBlinkTimeout& operator=(const CaretBlinkTimeout&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void stopBlinking();

    int flashTimeMs_;
    QTimer timeout_;
};

} // namespace ladoton
