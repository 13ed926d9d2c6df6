#include "widgets/Controls.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QToolButton>

namespace ladoton {

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::NoTicks);
}

void TrackBar::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    emit customDraw();
}

SpinArrows::SpinArrows(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
    }
    connect(up_, &QToolButton::clicked, this, [this] { click(upper_ >= lower_ ? 1 : -1); });
    connect(down_, &QToolButton::clicked, this, [this] { click(upper_ >= lower_ ? -1 : 1); });
}

void SpinArrows::setRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
}

void SpinArrows::nameArrows(const QString& up, const QString& down) {
    up_->setAccessibleName(up);
    down_->setAccessibleName(down);
}

void SpinArrows::click(int step) {
    emit delta(step);
}

void SpinArrows::resizeEvent(QResizeEvent* /*event*/) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

QVariant LineEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled) {
        return false;
    }
    return QLineEdit::inputMethodQuery(query);
}

ClientSurface::ClientSurface(QWidget* parent) : QWidget(parent) {}

void ClientSurface::mousePressEvent(QMouseEvent* event) {
    // Labels and group boxes let the mouse through (childAt passes over them), so they
    // are part of the surface; a right click on any other control is that control's own,
    // even when the control ignored it and it came on to its parent.
    const bool onSurface = childAt(event->position().toPoint()) == nullptr;
    if (event->button() == Qt::RightButton && onSurface && onRightClick) {
        onRightClick(event->position().toPoint());
        return;
    }
    QWidget::mousePressEvent(event);
}

void ClientSurface::paintEvent(QPaintEvent* event) {
    if (onPaint) {
        onPaint(event->region());
    }
}

} // namespace ladoton
