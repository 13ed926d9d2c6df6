#include "render/KeyboardOverlay.h"

#include "app/Controls.h"

#include <QPaintEvent>
#include <QPainter>

namespace ladoton {

KeyboardOverlay::KeyboardOverlay(KeyboardDialog& /*dialog*/, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Opaque: updating the band must not repaint the surface underneath, whose
    // paint marks every key for repaint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(bandRect());
    hide();
}

QRect KeyboardOverlay::bandRect() {
    return {0, 30, 1024, 180};
}

void KeyboardOverlay::showBand(const QImage& frameBuffer) {
    frameBuffer_ = &frameBuffer;
    ++copies_;
    ownUpdatePending_ = true;
    if (isHidden()) {
        show();
    }
    update();
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
    const QRect area = event->rect().intersected(rect());
    painter.drawImage(area.topLeft(), *frameBuffer_, area);
}

} // namespace ladoton
