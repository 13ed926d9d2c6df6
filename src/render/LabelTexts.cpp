#include "render/LabelTexts.h"

#include <QPainter>
#include <QTransform>
#include <QtMath>

namespace ladoton {

const QStaticText& LabelTexts::get(const QString& text, const QFont& font) {
    if (!(font == font_)) {
        texts_.clear();
        font_ = font;
    }
    auto found = texts_.find(text);
    if (found == texts_.end()) {
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), font);
        found = texts_.insert(text, laidOut);
    }
    return found.value();
}

void drawCentred(QPainter& painter, const QRect& rect, const QStaticText& text) {
    if (rect.isEmpty() || text.text().isEmpty()) {
        return;
    }
    const int width = qCeil(text.size().width());
    const int height = qCeil(text.size().height());
    const QPoint topLeft(rect.left() + (rect.width() - width) / 2, rect.top());
    if (width <= rect.width() && height <= rect.height()) {
        painter.drawStaticText(topLeft, text);
        return;
    }
    painter.save();
    painter.setClipRect(rect);
    painter.drawStaticText(topLeft, text);
    painter.restore();
}

void drawAt(QPainter& painter, QPoint topLeft, const QStaticText& text) {
    painter.drawStaticText(topLeft, text);
}

} // namespace ladoton
