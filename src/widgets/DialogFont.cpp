#include "widgets/DialogFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRawFont>
#include <QSet>
#include <cmath>
#include <cstdint>

namespace ladoton {

namespace {

// Free faces with the metrics and the Cyrillic of those the templates name. They are
// not registered with the system's font configuration, so they are added to the
// program's own fonts.
struct FreeFace {
    const char* family;
    const char* file;
};
constexpr FreeFace FreeFaces[] = {
    {"Tahoma", "/usr/share/wine/fonts/tahoma.ttf"},
    {"MS Sans Serif", "/usr/share/wine/fonts/ms_sans_serif.ttf"},
};

// Tried once per face and run: a face the program's fonts lose later is not brought back.
void provideFace(const QString& family) {
    static QSet<QString> tried;
    if (tried.contains(family) || QFontDatabase::hasFamily(family)) {
        return;
    }
    tried.insert(family);
    for (const FreeFace& face : FreeFaces) {
        if (family == QLatin1String(face.family) && QFile::exists(QLatin1String(face.file))) {
            QFontDatabase::addApplicationFont(QLatin1String(face.file));
        }
    }
}

uint16_t bigEndianWord(const QByteArray& table, int offset) {
    const auto byte = [&table](int at) { return static_cast<uint8_t>(table.at(at)); };
    return static_cast<uint16_t>((byte(offset) << 8) | byte(offset + 1));
}

// The height of a character cell as the window system counts it: the face's own
// ascent and descent for the screen, each rounded, where the face gives them; a
// face may tell other libraries a smaller line height for typesetting.
int cellHeight(const QFont& font, const QFontMetrics& metrics) {
    constexpr int WinAscentOffset = 74;
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray os2 = raw.fontTable("OS/2");
    if (!raw.isValid() || raw.unitsPerEm() <= 0 || os2.size() < WinAscentOffset + 4) {
        return metrics.height();
    }
    const double pixelsPerUnit = QFontInfo(font).pixelSize() / raw.unitsPerEm();
    const auto pixels = [pixelsPerUnit](uint16_t units) {
        return static_cast<int>(std::lround(units * pixelsPerUnit));
    };
    const int height = pixels(bigEndianWord(os2, WinAscentOffset)) +
                       pixels(bigEndianWord(os2, WinAscentOffset + 2));
    // A table that says something absurd is not believed.
    return height >= metrics.height() / 2 && height <= 2 * metrics.height() ? height
                                                                            : metrics.height();
}

} // namespace

QFont dialogFont(const QString& face, int points) {
    provideFace(face);
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(points);
    return font;
}

DialogUnits dialogUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {static_cast<double>(averageLetterWidth(letters)),
            static_cast<double>(cellHeight(font, metrics))};
}

} // namespace ladoton
