#include "TestDialog.h"
#include "keys/KeyHelp.h"
#include "render/KeyboardOverlay.h"
#include "render/LabelFont.h"
#include "ui/AboutDialog.h"
#include "ui/KeyAssignDialog.h"
#include "ui/QtPrompts.h"
#include "widgets/DialogFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;

namespace {

// Every text is measured with the font its widget really draws with, against the
// rectangle the style leaves it; a text that needs more room than that is cut.
using Cuts = std::vector<std::string>;

void report(Cuts& cuts, const QWidget& widget, const QString& text, QRect room, QRect needed) {
    if (!room.contains(needed)) {
        cuts.push_back(QStringLiteral("%1 \"%2\": needs %3x%4 at (%5,%6), has %7x%8 at (%9,%10)")
                           .arg(QString::fromLatin1(widget.metaObject()->className()), text)
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(needed.x())
                           .arg(needed.y())
                           .arg(room.width())
                           .arg(room.height())
                           .arg(room.x())
                           .arg(room.y())
                           .toStdString());
    }
}

void measureLabel(Cuts& cuts, const QLabel& label) {
    if (label.text().isEmpty()) {
        return;
    }
    const int margin = label.margin();
    const QRect room = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    const int flags =
        static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    report(cuts, label, label.text(), room,
           label.fontMetrics().boundingRect(room, flags, label.text()));
}

void measureCheckBox(Cuts& cuts, const QCheckBox& box) {
    QStyleOptionButton option;
    option.initFrom(&box);
    option.text = box.text();
    const QRect room = box.style()
                           ->subElementRect(QStyle::SE_CheckBoxContents, &option, &box)
                           .intersected(box.rect());
    report(cuts, box, box.text(), room,
           box.fontMetrics().boundingRect(room, Qt::AlignLeft | Qt::AlignVCenter, box.text()));
}

void measureGroupBox(Cuts& cuts, const QGroupBox& box) {
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = box.alignment();
    const QRect title =
        box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    report(cuts, box, box.title(), box.rect(), title);
    report(cuts, box, box.title(), title,
           box.fontMetrics().boundingRect(title, Qt::AlignCenter, box.title()));
}

void measurePushButton(Cuts& cuts, const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QRect room =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    report(cuts, button, button.text(), room,
           button.fontMetrics().boundingRect(room, Qt::AlignCenter, button.text()));
}

Cuts cutTexts(const QWidget& window) {
    Cuts cuts;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        measureLabel(cuts, *label);
    }
    for (const QCheckBox* box : window.findChildren<QCheckBox*>()) {
        measureCheckBox(cuts, *box);
    }
    for (const QGroupBox* box : window.findChildren<QGroupBox*>()) {
        measureGroupBox(cuts, *box);
    }
    // The piano keys' captions lie under the picture, whose texts are measured apart.
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->focusPolicy() != Qt::NoFocus) {
            measurePushButton(cuts, *button);
        }
    }
    return cuts;
}

// The texts the piano picture writes on a key, in the picture's own pixels: its caption
// centred, its solfege name centred, and the PC key's name from a fixed inset, for
// the name of every row the key plays and the name a reassigned key gets.
void reportWritten(Cuts& cuts, const QWidget& button, const QString& text, QRect room,
                   bool centred) {
    const QFontMetrics metrics(makeLabelFont());
    const int width = metrics.horizontalAdvance(text);
    const int left =
        centred ? room.left() + (room.width() - width) / 2 : room.left() + KeyNameInset;
    report(cuts, button, text, room, QRect(left, room.top(), width, 1));
}

Cuts cutKeyLabels(TestDialog& t) {
    Cuts cuts;
    for (const KeyEntry& entry : t.keyboard().keyTable) {
        const QPushButton* button = t->pianoButton(entry.buttonId);
        if (button == nullptr) {
            continue;
        }
        const KeyRect key = t->overlay().pictureRectOf(button->geometry());
        const QRect room(key.left, key.top, key.right - key.left, key.bottom - key.top);
        reportWritten(cuts, *button, button->text(), room, true);
        reportWritten(cuts, *button, QString::fromUtf8(solfegeName(entry.noteOffset)), room, true);
        reportWritten(cuts, *button, QString::fromUtf8(entry.keyName), room, false);
        reportWritten(cuts, *button, QStringLiteral("ПР"), room, false);
    }
    return cuts;
}

QString faceOf(const QWidget& window) {
    return QFontInfo(window.font()).family();
}

} // namespace

TEST(TextFit, MainWindowCutsNoText) {
    TestDialog t;
    t.show();
    EXPECT_EQ(cutTexts(t.dialog()), Cuts{}) << "face " << faceOf(t.dialog()).toStdString();
    EXPECT_EQ(cutKeyLabels(t), Cuts{});
}

TEST(TextFit, WindowIsLaidOutInTheDialogUnitsOfItsFont) {
    TestDialog t;
    t.show();
    // At least the units of the font; more where its texts need more room.
    EXPECT_GE(t->units().baseX, dialogUnitsOf(t->font()).baseX);
    EXPECT_GE(t->units().baseY, dialogUnitsOf(t->font()).baseY);
    const DialogUnits& units = t->units();
    EXPECT_EQ(t->clientArea()->size(), QSize(units.x(531), units.y(183)));
    EXPECT_EQ(t->control(1079)->geometry(), units.rect(387, 157, 93, 10));
    EXPECT_EQ(t->pianoButton(1022)->geometry(), units.rect(24, 24, 28, 96));
}

TEST(TextFit, PianoPictureCoversTheKeysInAnyFont) {
    TestDialog t;
    t.show();
    const DialogUnits& units = t->units();
    const QRect band = t->overlay().geometry();
    EXPECT_EQ(band.top(), static_cast<int>(std::lround(30 * units.scaleY())));
    EXPECT_GE(band.right(), t->pianoButton(1072)->geometry().right());
    // The last white key ends where the picture says it does, mapped back to the window.
    const QRect button = t->pianoButton(1072)->geometry();
    const KeyRect key = t->overlay().pictureRectOf(button);
    EXPECT_NEAR(key.right * units.scaleX(), button.left() + button.width(), 1.0);
    EXPECT_NEAR((key.bottom + KeyboardOverlay::pictureBand().top()) * units.scaleY(),
                button.top() + button.height(), 1.0);
}

TEST(TextFit, ReassignmentDialogCutsNoText) {
    KeyAssignDialog dialog(nullptr);
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(cutTexts(dialog), Cuts{}) << "face " << faceOf(dialog).toStdString();
    EXPECT_GE(dialog.width(), dialogUnitsOf(dialog.font()).x(264));
    EXPECT_GE(dialog.height(), dialogUnitsOf(dialog.font()).y(61));
}

TEST(TextFit, AboutBoxCutsNoText) {
    AboutDialog dialog(nullptr);
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(cutTexts(dialog), Cuts{}) << "face " << faceOf(dialog).toStdString();
}

TEST(TextFit, KeyHelpCutsNoText) {
    TestDialog t;
    const auto box = makeMessageBox(&t.dialog(), QString::fromUtf8(KeyHelpCaption),
                                    QString::fromStdString(keyHelpText()));
    box->show();
    QApplication::processEvents();
    EXPECT_EQ(cutTexts(*box), Cuts{});
}

// A registration of its own runs these tests without the free faces; then the system's
// sans-serif stands in, and the checks above hold for it as well.
TEST(TextFit, RunsWithTheExpectedFace) {
    TestDialog t;
    const bool freeFaces = !qEnvironmentVariableIsSet("LADOTON_TEST_WITHOUT_FREE_FACES");
    if (freeFaces || QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        GTEST_SKIP() << "face " << faceOf(t.dialog()).toStdString();
    }
    EXPECT_NE(faceOf(t.dialog()), QStringLiteral("Tahoma"));
}

// A registration of its own runs these tests at twice the pixels; this makes sure it did.
TEST(TextFit, RunsAtTheExpectedPixelRatio) {
    TestDialog t;
    t.show();
    const double expected = qEnvironmentVariableIsSet("LADOTON_EXPECTED_PIXEL_RATIO")
                                ? qEnvironmentVariable("LADOTON_EXPECTED_PIXEL_RATIO").toDouble()
                                : 1.0;
    EXPECT_DOUBLE_EQ(t->devicePixelRatio(), expected);
}
// The units follow the font's size: a cell about as wide as its average character and
// about as tall as its line, whatever a face's tables say.
TEST(TextFit, DialogUnitsAreTheSizeOfTheFontsCell) {
    for (const auto& [face, points] :
         {std::pair{"Tahoma", 9}, {"MS Sans Serif", 8}, {"Tahoma", 11}}) {
        const QFont font = dialogFont(QString::fromLatin1(face), points);
        const QFontMetrics metrics(font);
        const DialogUnits units = dialogUnitsOf(font);
        const double letter = metrics.horizontalAdvance(QStringLiteral("xnaoeHE")) / 7.0;
        EXPECT_GE(units.baseX, 0.7 * letter) << face;
        EXPECT_LE(units.baseX, 1.5 * letter) << face;
        EXPECT_GE(units.baseY, metrics.height()) << face;
        EXPECT_LE(units.baseY, 1.5 * metrics.height()) << face;
    }
}

TEST(TextFit, DialogsGrowNoMoreThanTheirTextsNeed) {
    KeyAssignDialog assign(nullptr);
    const DialogUnits assignUnits = dialogUnitsOf(assign.font());
    EXPECT_LE(assign.width(), 1.5 * assignUnits.x(264));
    EXPECT_LE(assign.height(), 1.5 * assignUnits.y(61));
    AboutDialog about(nullptr);
    const DialogUnits aboutUnits = dialogUnitsOf(about.font());
    EXPECT_LE(about.width(), 1.5 * aboutUnits.x(224));
    EXPECT_LE(about.height(), 1.5 * aboutUnits.y(101));
}
