#pragma once

#include "render/KeyLook.h"
#include "widgets/DialogUnits.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QWidget>

namespace ladoton {

// Shows the painted keyboard band over the piano-key buttons; mouse clicks go
// through it to the buttons. It stays hidden, leaving the buttons to show, until
// the first picture is copied to it. The picture is composed in the pixels of the
// reference character cell and shown stretched by as much as the window's dialog
// units exceed that cell, so it covers the buttons in any font.
class KeyboardOverlay : public QWidget {
    Q_OBJECT
  public:
    KeyboardOverlay(const DialogUnits& units, QWidget* parent);

    // Places the band for the window's dialog units.
    void setUnits(const DialogUnits& units);

    // The part of the frame buffer that is shown, and where it lies in the client
    // area at the reference cell.
    static QRect pictureBand();
    // Where a rectangle of the client area (a piano-key button) lies in the frame
    // buffer; top is the frame buffer's row 0.
    KeyRect pictureRectOf(const QRect& onSurface) const;

    // Copies the band from the top-left corner of the frame buffer to the window:
    // the parts that changed, given in frame buffer pixels, or all of it when the
    // band is first shown. The copy is made when the window paints the band, into
    // the window's own buffer; until then the frame buffer must stay as it is, which
    // it does between painting passes.
    void showBand(const QImage& frameBuffer, const QRegion& changed);
    // How many times the band was copied.
    int copies() const { return copies_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int scaledX(int picture) const;
    int scaledY(int picture) const;
    QRect scaledRect(const QRect& picture) const;
    bool isStretched() const;

    DialogUnits units_;
    const QImage* frameBuffer_ = nullptr;
    int copies_ = 0;
    bool ownUpdatePending_ = false;
};

} // namespace ladoton
