#include "ui/AboutDialog.h"

#include "widgets/DialogFont.h"
#include "widgets/TextRoom.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <vector>

namespace ladoton {

namespace {

constexpr int IconSize = 32;

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
    label->setAlignment(Qt::AlignLeft | (spec.description ? Qt::AlignVCenter : Qt::AlignTop));
    label->setEnabled(!spec.description);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("О программе "));
    setFont(dialogFont(QStringLiteral("Tahoma"), 11));
    std::vector<QLabel*> texts;
    for (const AboutText& text : Texts) {
        texts.push_back(makeText(text, this));
    }
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/ladoton.svg")).pixmap(IconSize, IconSize));
    icon->setAccessibleName(QStringLiteral("Ладотон")); // the program's icon

    unitsThatFit(
        *this, dialogUnitsOf(font()),
        [&](const DialogUnits& units) {
            setFixedSize(units.x(224), units.y(101));
            for (std::size_t i = 0; i < texts.size(); ++i) {
                const AboutText& placed = Texts[i];
                texts[i]->setGeometry(units.rect(placed.x, placed.y, placed.width, placed.height));
            }
            icon->setGeometry(units.x(25), units.y(5), IconSize, IconSize);
        },
        [](const QWidget&) { return true; });
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
