#include "render/KeyboardOverlay.h"

#include "widgets/Controls.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace ladoton {

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
    if (isStretched()) {
        // The painter clips to the region being updated.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect()), *frameBuffer_,
                          QRectF(QPointF(0, 0), QSizeF(pictureBand().size())));
        return;
    }
    const QRect area = event->rect().intersected(rect());
    painter.drawImage(area.topLeft(), *frameBuffer_, area);
}

} // namespace ladoton
