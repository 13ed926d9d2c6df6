#include "render/LabelFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace ladoton {

namespace {

constexpr int CellHeight = 11;
constexpr int AverageWidth = 6;

QString labelFamily() {
    QString tahoma = QStringLiteral("Tahoma");
    if (QFontDatabase::hasFamily(tahoma)) {
        return tahoma;
    }
    QFont sans(QStringLiteral("Sans Serif"));
    sans.setStyleHint(QFont::SansSerif);
    return QFontInfo(sans).family();
}

struct LabelFontChoice {
    QString family;
    int pixelSize = CellHeight;
    int stretch = QFont::Unstretched;
};

QFont labelFont(const LabelFontChoice& choice) {
    QFont font(choice.family);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setPixelSize(choice.pixelSize);
    font.setStretch(choice.stretch);
    return font;
}

LabelFontChoice chooseLabelFont() {
    LabelFontChoice choice{labelFamily()};
    // A cell height counts the whole line, internal leading included; a pixel size
    // counts the em only. Take the largest em whose line fits the cell.
    for (; choice.pixelSize > 1; --choice.pixelSize) {
        if (QFontMetrics(labelFont(choice)).height() <= CellHeight) {
            break;
        }
    }
    const int average = QFontMetrics(labelFont(choice)).averageCharWidth();
    if (average > 0 && average != AverageWidth) {
        const int stretch = static_cast<int>(std::lround(100.0 * AverageWidth / average));
        choice.stretch = std::clamp(stretch, 50, 200);
    }
    return choice;
}

} // namespace

QFont makeLabelFont() {
    // Plain values, not a QFont: a static font would outlive the application.
    static const LabelFontChoice chosen = chooseLabelFont();
    return labelFont(chosen);
}

} // namespace ladoton
