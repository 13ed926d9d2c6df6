#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

class QPainter;

namespace ladoton {

// The laid-out texts of the key labels, kept for the font they were laid out in:
// laying a text out costs several times more than drawing it, and a keyboard has
// few distinct labels.
class LabelTexts {
  public:
    const QStaticText& get(const QString& text, const QFont& font);

  private:
    QFont font_;
    QHash<QString, QStaticText> texts_;
};

// Top-aligned and centred across the rectangle, cut off at its edges.
void drawCentred(QPainter& painter, const QRect& rect, const QStaticText& text);

// With its top-left corner at the point, not cut off.
void drawAt(QPainter& painter, QPoint topLeft, const QStaticText& text);

} // namespace ladoton
