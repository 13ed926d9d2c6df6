#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

namespace ladoton {

class KeyboardDialog;

// Shows the painted keyboard band over the piano-key buttons; mouse clicks go
// through it to the buttons. It stays hidden, leaving the buttons to show, until
// the first picture is copied to it.
class KeyboardOverlay : public QWidget {
    Q_OBJECT
  public:
    KeyboardOverlay(KeyboardDialog& dialog, QWidget* parent);

    // The band's place in the window's client area.
    static QRect bandRect();

    // Copies the band from the top-left corner of the frame buffer to the window.
    // The copy is made when the window paints the band, into the window's own
    // buffer; until then the frame buffer must stay as it is, which it does
    // between painting passes.
    void showBand(const QImage& frameBuffer);
    // How many times the band was copied.
    int copies() const { return copies_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const QImage* frameBuffer_ = nullptr;
    int copies_ = 0;
    bool ownUpdatePending_ = false;
};

} // namespace ladoton
