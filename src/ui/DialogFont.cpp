#include "ui/DialogFont.h"

#include <QFontMetrics>
#include <QStringList>

namespace ladoton {

namespace {
// Small enough for any text a template holds, large enough to read.
constexpr int SmallestPixelSize = 8;

bool allFit(const QFont& font, const std::vector<TemplateText>& texts) {
    const QFontMetrics metrics(font);
    for (const TemplateText& text : texts) {
        if (metrics.horizontalAdvance(text.text) > text.width) {
            return false;
        }
    }
    return true;
}
} // namespace

QFont dialogFont(const QString& face, int pixelSize, const std::vector<TemplateText>& texts) {
    QFont font;
    font.setFamilies(QStringList{face, QStringLiteral("DejaVu Sans Condensed")});
    font.setPixelSize(pixelSize);
    while (font.pixelSize() > SmallestPixelSize && !allFit(font, texts)) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

} // namespace ladoton
