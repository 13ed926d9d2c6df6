#include "render/LabelFont.h"

#include "keys/KeyTable.h"
#include "render/KeyLook.h"
#include "widgets/DialogUnits.h"
#include "widgets/MainWindowTemplate.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <string_view>

namespace ladoton {

namespace {

constexpr int CellHeight = 11;
constexpr int AverageWidth = 6;
constexpr int MinimumStretch = 50;
// A black key's width in the picture's pixels, whole pixels only.
constexpr int BlackKeyPictureWidth = BlackKeyWidthDu * ReferenceBaseX / 4;

bool isBlackKey(int buttonId) {
    return std::any_of(PianoKeys.begin(), PianoKeys.end(), [buttonId](const PianoKeySpec& key) {
        return key.id == buttonId &&
               std::string_view(key.caption).find('#') != std::string_view::npos;
    });
}

// Whether the texts a black key shows stay on it: its caption centred, the PC key's
// name from its inset.
bool blackKeyTextsFit(const QFontMetrics& metrics) {
    for (const PianoKeySpec& key : PianoKeys) {
        if (isBlackKey(key.id) &&
            metrics.horizontalAdvance(QString::fromUtf8(key.caption)) > BlackKeyPictureWidth) {
            return false;
        }
    }
    int widestName = metrics.horizontalAdvance(QString::fromUtf8(ReassignedKeyName));
    for (const KeyEntry& entry : initialKeyTable()) {
        if (isBlackKey(entry.buttonId)) {
            widestName =
                std::max(widestName, metrics.horizontalAdvance(QString::fromUtf8(entry.keyName)));
        }
    }
    return widestName <= BlackKeyPictureWidth - KeyNameInset;
}

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
        choice.stretch = std::clamp(stretch, MinimumStretch, 200);
    }
    // A face whose signs run wider than its letters would cut a black key's texts at
    // the key's edges; it is narrowed until they fit.
    while (choice.stretch > MinimumStretch && !blackKeyTextsFit(QFontMetrics(labelFont(choice)))) {
        choice.stretch -= 2;
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
