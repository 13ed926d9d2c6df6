#include "render/KeyboardOverlay.h"

#include "widgets/Controls.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace ladoton {

namespace {
// Rows of one slice of the band's fill: Qt's raster engine keeps a fill of fewer than 96 spans
// on the painting thread.
constexpr int FillSliceRows = 64;
} // namespace

KeyboardOverlay::KeyboardOverlay(const DialogUnits& units, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Opaque: updating the band must not repaint the surface underneath, whose
    // paint marks every key for repaint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setUnits(units);
    hide();
}

void KeyboardOverlay::setUnits(const DialogUnits& units) {
    units_ = units;
    const QRect band = pictureBand();
    setGeometry(scaledX(band.left()), scaledY(band.top()),
                scaledX(band.left() + band.width()) - scaledX(band.left()),
                scaledY(band.top() + band.height()) - scaledY(band.top()));
}

QRect KeyboardOverlay::pictureBand() {
    return {0, 30, 1024, 180};
}

int KeyboardOverlay::scaledX(int picture) const {
    return static_cast<int>(std::lround(picture * units_.scaleX()));
}

int KeyboardOverlay::scaledY(int picture) const {
    return static_cast<int>(std::lround(picture * units_.scaleY()));
}

KeyRect KeyboardOverlay::pictureRectOf(const QRect& onSurface) const {
    const auto toPictureX = [this](int x) {
        return static_cast<int>(std::lround(x / units_.scaleX()));
    };
    const auto toPictureY = [this](int y) {
        return static_cast<int>(std::lround(y / units_.scaleY()));
    };
    return {toPictureX(onSurface.left()), 0, toPictureX(onSurface.left() + onSurface.width()),
            toPictureY(onSurface.top() + onSurface.height()) - pictureBand().top()};
}

bool KeyboardOverlay::isStretched() const {
    return units_ != DialogUnits{};
}

QRect KeyboardOverlay::scaledRect(const QRect& picture) const {
    // Smoothing blends each shown pixel from its neighbours in the picture, so a
    // changed picture pixel also tints the shown pixels just outside its own.
    constexpr int Blend = 1;
    const QRect band = pictureBand();
    const QRect grown = picture.adjusted(-Blend, -Blend, Blend, Blend);
    const int left = scaledX(grown.left());
    const int top = scaledY(band.top() + grown.top()) - scaledY(band.top());
    return QRect(left, top, scaledX(grown.left() + grown.width()) - left,
                 scaledY(band.top() + grown.top() + grown.height()) - scaledY(band.top()) - top)
        .intersected(rect());
}

void KeyboardOverlay::showBand(const QImage& frameBuffer, const QRegion& changed) {
    frameBuffer_ = &frameBuffer;
    ++copies_;
    ownUpdatePending_ = true;
    if (isHidden()) {
        show();
        update();
        return;
    }
    // Stretching and sending the whole band to the window system ten times a
    // second costs more than all the rest of a looping phrase.
    QRegion shown;
    for (const QRect& picture : changed) {
        shown += scaledRect(picture);
    }
    update(shown);
}

void KeyboardOverlay::paintEvent(QPaintEvent* event) {
    // The surface underneath is not painted where the band covers it, so a paint
    // that the window system asked for is passed on to it as its own.
    if (!ownUpdatePending_) {
        if (auto* surface = qobject_cast<ClientSurface*>(parentWidget());
            surface != nullptr && surface->onPaint) {
            surface->onPaint(event->region().translated(pos()));
        }
    }
    ownUpdatePending_ = false;
    if (frameBuffer_ == nullptr) {
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // Qt shares a fill of more than about a hundred spans out to its worker threads, and for a
    // key's strip of the band waking them and waiting for them costs more than the fill itself:
    // the band is filled a rectangle of the region at a time, in slices below that size. Each
    // row comes out as one fill of the whole region would make it.
    if (isStretched()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    for (const QRect& part : event->region()) {
        const QRect area = part.intersected(rect());
        for (int top = area.top(); top <= area.bottom(); top += FillSliceRows) {
            const QRect slice =
                QRect(area.left(), top, area.width(), FillSliceRows).intersected(area);
            if (isStretched()) {
                painter.setClipRect(slice);
                painter.drawImage(QRectF(rect()), *frameBuffer_,
                                  QRectF(QPointF(0, 0), QSizeF(pictureBand().size())));
            } else {
                painter.drawImage(slice.topLeft(), *frameBuffer_, slice);
            }
        }
    }
}

} // namespace ladoton
