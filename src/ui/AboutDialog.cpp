#include "ui/AboutDialog.h"

#include "app/DialogUnits.h"
#include "ui/DialogFont.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>

namespace ladoton {

namespace {

// The box is set in an 11-point face where the main window has 9 points, and dialog
// units grow with the face.
constexpr double FontScale = 11.0 / 9.0;
constexpr int FontPixelSize = 15; // 11 points at 96 dpi
constexpr int IconSize = 32;

int scaledX(int du) {
    return duToPixelsX(du * FontScale);
}
int scaledY(int du) {
    return duToPixelsY(du * FontScale);
}

QRect scaledRect(int x, int y, int width, int height) {
    return {scaledX(x), scaledY(y), scaledX(x + width) - scaledX(x),
            scaledY(y + height) - scaledY(y)};
}

struct AboutText {
    const char* text;
    int x, y, width, height;
    bool description; // drawn greyed and centred in its height
};

// In template order: the description reads top to bottom as lines 5, 6, 4.
constexpr AboutText Texts[] = {
    {"© Авторы Ладотона", 55, 90, 107, 8, false},
    {"Ладотон. Версия 1.1", 55, 10, 130, 8, false},
    {"настоящую MIDI клавиатуру.", 15, 60, 185, 15, true},
    {"Программа предназначена для любителей музыки,", 15, 30, 185, 15, true},
    {"не имеющих возможности купить себе", 15, 45, 185, 15, true},
};

QLabel* makeText(const AboutText& spec, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(spec.text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setGeometry(scaledRect(spec.x, spec.y, spec.width, spec.height));
    label->setAlignment(Qt::AlignLeft | (spec.description ? Qt::AlignVCenter : Qt::AlignTop));
    label->setEnabled(!spec.description);
    return label;
}

QFont aboutFont() {
    std::vector<TemplateText> texts;
    for (const AboutText& text : Texts) {
        texts.push_back({QString::fromUtf8(text.text), scaledX(text.width)});
    }
    return dialogFont(QStringLiteral("Tahoma"), FontPixelSize, texts);
}

} // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("О программе "));
    setFont(aboutFont());
    setFixedSize(scaledX(224), scaledY(101));

    for (const AboutText& text : Texts) {
        makeText(text, this);
    }
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/ladoton.svg")).pixmap(IconSize, IconSize));
    icon->setGeometry(scaledX(25), scaledY(5), IconSize, IconSize);
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    // Without a default button Enter would do nothing; it closes the box as OK.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ladoton
