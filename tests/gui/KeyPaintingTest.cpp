#include "TestDialog.h"
#include "keys/VirtualKeys.h"
#include "render/KeyLook.h"
#include "render/KeyboardCanvas.h"
#include "render/KeyboardOverlay.h"
#include "render/LabelFont.h"
#include "render/LabelTexts.h"
#include "widgets/MainWindowTemplate.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <string_view>
#include <vector>

using namespace ladoton;
using namespace ladoton::testing;

namespace {

constexpr QRgb Untouched = 0xffff00ff; // no key image has this colour
constexpr int BandHeight = 180;

QRgb toQRgb(Rgb colour) {
    return qRgb(colour.red, colour.green, colour.blue);
}

int buttonIdOf(std::string_view caption) {
    for (const PianoKeySpec& key : PianoKeys) {
        if (caption == key.caption) {
            return key.id;
        }
    }
    return 0;
}

bool isBlackButton(int id) {
    for (const PianoKeySpec& key : PianoKeys) {
        if (key.id == id) {
            return std::string_view(key.caption).find('#') != std::string_view::npos;
        }
    }
    return false;
}

// Where the key of a button lies in the frame buffer.
KeyRect keyRect(TestDialog& t, int buttonId) {
    return t->overlay().pictureRectOf(t->pianoButton(buttonId)->geometry());
}

// A pixel of the key that no neighbour covers.
QRgb keySample(TestDialog& t, int buttonId) {
    const KeyRect key = keyRect(t, buttonId);
    return isBlackButton(buttonId) ? t->canvas().frameBuffer().pixel(key.left + 11, 50)
                                   : t->canvas().frameBuffer().pixel(key.left + 21, 140);
}

bool composed(TestDialog& t, int buttonId) {
    return keySample(t, buttonId) != Untouched;
}

// A full pass, then every pixel of the frame buffer set to a colour no key has.
void paintAllThenBlankFrameBuffer(TestDialog& t) {
    t->DrawKeyboard();
    t->canvas().frameBuffer().fill(Untouched);
}

// Whether a key of the keyboard waits for its repaint.
bool anyKeyMarked(TestDialog& t) {
    for (const KeyEntry& row : t.keyboard().keyTable) {
        if (row.buttonId != 0 && t.keyboard().keyStates[row.keyCode].needsRepaint != 0) {
            return true;
        }
    }
    return false;
}

void markAll(TestDialog& t) {
    for (KeyState& key : t.keyboard().keyStates) {
        key.needsRepaint = 1;
    }
}

QImage frameBufferArea(TestDialog& t, QRect area) {
    return t->canvas().frameBuffer().copy(area);
}

// A PC-key name as the key's foot shows it: on the black strip below the image.
QImage expectedKeyName(const char* name, Rgb colour) {
    QImage image(30, 14, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(makeLabelFont());
    painter.setPen(QColor(toQRgb(colour)));
    LabelTexts texts;
    drawAt(painter, {0, 0}, texts.get(QString::fromUtf8(name), painter.font()));
    return image;
}

QImage keyNameArea(TestDialog& t, int buttonId) {
    const KeyRect key = keyRect(t, buttonId);
    return frameBufferArea(t, QRect(key.left + 7, key.bottom - 20, 30, 14));
}

// Rows of a released white key from just below its caption; only the solfege
// name is written there.
constexpr QRect SolfegeArea(6, 121, 30, 20);

QImage solfegeArea(TestDialog& t, int buttonId) {
    const KeyRect key = keyRect(t, buttonId);
    return frameBufferArea(t, SolfegeArea.translated(key.left, 0));
}

QImage expectedSolfege(TestDialog& t, const char* name) {
    QImage key = t->canvas().keyImage(false, false).copy();
    QPainter painter(&key);
    painter.setFont(makeLabelFont());
    painter.setPen(QColor(toQRgb(keyTextColour(false, false))));
    LabelTexts texts;
    drawCentred(painter, QRect(0, 120, 42, 60), texts.get(QString::fromUtf8(name), painter.font()));
    painter.end();
    return key.copy(SolfegeArea);
}

// Caption and solfege rows of the released "C", away from its neighbours.
QImage labelArea(TestDialog& t, int buttonId) {
    const KeyRect key = keyRect(t, buttonId);
    return frameBufferArea(t, QRect(key.left + 6, 105, 23, 40));
}

} // namespace

TEST(KeyPainting, KeyImagesHaveTheirRimCentreAndExtent) {
    TestDialog t;
    t->DrawKeyboard();
    const KeyboardCanvas& canvas = t->canvas();
    struct Expected {
        bool black, pressed;
        QRgb rim, centre;
    };
    for (const Expected& e : {Expected{false, false, qRgb(75, 75, 75), qRgb(237, 237, 237)},
                              Expected{false, true, qRgb(0, 0, 0), qRgb(162, 162, 0)},
                              Expected{true, false, qRgb(0, 75, 75), qRgb(0, 237, 237)},
                              Expected{true, true, qRgb(0, 0, 0), qRgb(162, 0, 162)}}) {
        SCOPED_TRACE(::testing::Message() << "black " << e.black << " pressed " << e.pressed);
        const QImage& image = canvas.keyImage(e.black, e.pressed);
        ASSERT_EQ(image.size(), QSize(42, 178));
        const int lastColumn = e.black ? 28 : 40;
        const int lastRow = e.black ? 113 : 146;
        EXPECT_EQ(image.pixel(0, 0), e.rim);
        EXPECT_EQ(image.pixel(lastColumn, lastRow), e.rim);
        EXPECT_EQ(image.pixel(lastColumn / 2, lastRow / 2), e.centre);
        // Level 1 starts one pixel in.
        EXPECT_EQ(image.pixel(1, 1), toQRgb(keyLevelColour(e.black, e.pressed, 1)));
        EXPECT_EQ(image.pixel(lastColumn + 1, 0), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(0, lastRow + 1), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(41, 177), qRgb(0, 0, 0));
    }
}

TEST(KeyPainting, FrameBufferShowsEachKeyFromTheImageOfItsKindAndState) {
    TestDialog t;
    t.keyboard().pressKey('Q'); // "C"
    t.keyboard().pressKey('2'); // "C#"
    t->DrawKeyboard();
    const QImage& frame = t->canvas().frameBuffer();
    EXPECT_EQ(frame.size(), QSize(1024, 768));
    const KeyRect c = keyRect(t, buttonIdOf("C"));
    const KeyRect d = keyRect(t, buttonIdOf("D"));
    const KeyRect cSharp = keyRect(t, buttonIdOf("C#"));
    const KeyRect dSharp = keyRect(t, buttonIdOf("D#"));
    EXPECT_EQ(frame.pixel(c.left + 20, 73), qRgb(162, 162, 0));
    EXPECT_EQ(frame.pixel(d.left + 20, 73), qRgb(237, 237, 237));
    EXPECT_EQ(frame.pixel(d.left + 20, 0), qRgb(75, 75, 75));
    EXPECT_EQ(frame.pixel(cSharp.left + 14, 57), qRgb(162, 0, 162));
    EXPECT_EQ(frame.pixel(dSharp.left + 14, 57), qRgb(0, 237, 237));
    EXPECT_EQ(frame.pixel(dSharp.left, 0), qRgb(0, 75, 75));
    // A white key runs to the foot of its button; below its image it is black.
    EXPECT_EQ(c.bottom, BandHeight);
    EXPECT_EQ(frame.pixel(d.left + 2, 150), qRgb(0, 0, 0));
}

TEST(KeyPainting, PassWithNoKeyMarkedComposesAndCopiesNothing) {
    TestDialog t;
    t->DrawKeyboard();
    EXPECT_EQ(t.keyboard().repaintCount, 1);
    EXPECT_FALSE(anyKeyMarked(t));
    t->canvas().frameBuffer().fill(Untouched);
    t->DrawKeyboard();
    EXPECT_EQ(t.keyboard().repaintCount, 1);
    QImage blank(1024, 768, QImage::Format_RGB32);
    blank.fill(Untouched);
    EXPECT_EQ(t->canvas().frameBuffer(), blank);
    EXPECT_EQ(t->findChild<KeyboardOverlay*>()->copies(), 1);
}

TEST(KeyPainting, WhiteKeyIsComposedWithEveryBlackKeyThenCopiedOnce) {
    TestDialog t;
    paintAllThenBlankFrameBuffer(t);
    t.keyboard().pressKey('Q');
    t->DrawKeyboard();
    for (const PianoKeySpec& key : PianoKeys) {
        SCOPED_TRACE(key.caption);
        EXPECT_EQ(composed(t, key.id), key.id == buttonIdOf("C") || isBlackButton(key.id));
    }
    EXPECT_EQ(keySample(t, buttonIdOf("C")), qRgb(108, 108, 0));
    EXPECT_EQ(t.keyboard().repaintCount, 2);
    auto* overlay = t->findChild<KeyboardOverlay*>();
    EXPECT_TRUE(overlay->isVisibleTo(t->clientArea()));
    EXPECT_EQ(overlay->copies(), 2);
}

TEST(KeyPainting, BlackKeyIsComposedWithTheBlackKeysOfLaterKeyCodes) {
    TestDialog t;
    paintAllThenBlankFrameBuffer(t);
    t.keyboard().pressKey('5'); // "F#"
    t->DrawKeyboard();
    int blackComposed = 0;
    for (const KeyEntry& row : t.keyboard().keyTable) {
        if (row.buttonId == 0) {
            continue;
        }
        SCOPED_TRACE(row.keyName);
        const bool expected = isBlackButton(row.buttonId) && row.keyCode >= '5';
        EXPECT_EQ(composed(t, row.buttonId), expected);
        blackComposed += expected ? 1 : 0;
    }
    EXPECT_EQ(blackComposed, 9); // 5 6 7 9 * - / + and |
    EXPECT_EQ(t.keyboard().repaintCount, 2);
}

// A pass composes its keys one after another on one picture; each comes out as composed alone,
// whatever the keys before it drew, clipped captions included.
TEST(KeyPainting, PassComposesEveryKeyAsItIsComposedAlone) {
    TestDialog t;
    t.keyboard().pressKey('Q');
    t.keyboard().pressKey('2');
    t.keyboard().keyTable[0].keyName = "WWWWWWWWWW";
    t->DrawKeyboard();
    markAll(t);
    t->canvas().frameBuffer().fill(Untouched);
    t->DrawKeyboard();
    const QImage pass = t->canvas().frameBuffer().copy();

    t->canvas().frameBuffer().fill(Untouched);
    struct Row {
        int keyCode, row;
        bool black;
    };
    std::vector<Row> rows;
    for (int row = 0; row < KeyTableRows; ++row) {
        const KeyEntry& entry = t.keyboard().keyTable[row];
        if (entry.buttonId != 0) {
            rows.push_back({entry.keyCode, row, isBlackButton(entry.buttonId)});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.black != b.black ? !a.black : a.keyCode < b.keyCode;
    });
    const QFont font = makeLabelFont();
    for (const Row& row : rows) {
        t->DrawKey(&font, row.keyCode, row.row);
    }
    EXPECT_EQ(pass, t->canvas().frameBuffer());
}

TEST(KeyPainting, KeyShowsTheNameOfTheRowComposedLast) {
    TestDialog t;
    const int b = buttonIdOf("B");
    const Rgb released = keyTextColour(false, false);
    t->DrawKeyboard();
    EXPECT_EQ(keyNameArea(t, b), expectedKeyName("U", released));

    t.keyboard().pressKey('8');
    t->DrawKeyboard();
    EXPECT_EQ(keyNameArea(t, b), expectedKeyName("8", keyTextColour(false, true)));
    t.keyboard().releaseKey('8');
    t->DrawKeyboard();
    EXPECT_EQ(keyNameArea(t, b), expectedKeyName("8", released));

    markAll(t);
    t->DrawKeyboard();
    EXPECT_EQ(keyNameArea(t, b), expectedKeyName("U", released));
    EXPECT_NE(expectedKeyName("U", released), expectedKeyName("8", released));
}

TEST(KeyPainting, CaptionsAndSolfegeNamesOnlyAtTranspositionZero) {
    TestDialog t;
    const int c = buttonIdOf("C");
    t->DrawKeyboard();
    const QImage bareLabels = t->canvas().keyImage(false, false).copy(QRect(6, 105, 23, 40));
    ASSERT_NE(labelArea(t, c), bareLabels);

    t.keyboard().transposition = 1;
    t.keyboard().redrawKeyboard();
    t->DrawKeyboard();
    EXPECT_EQ(labelArea(t, c), bareLabels);
    EXPECT_EQ(keyNameArea(t, c), expectedKeyName("Q", keyTextColour(false, false)));

    t.keyboard().transposition = 0;
    t.keyboard().redrawKeyboard();
    t->DrawKeyboard();
    EXPECT_NE(labelArea(t, c), bareLabels);
    EXPECT_EQ(solfegeArea(t, c), expectedSolfege(t, "до"));
}

TEST(KeyPainting, SolfegeNameFollowsThePitchClassOfTheNoteOffset) {
    TestDialog t;
    t->DrawKeyboard();
    EXPECT_EQ(solfegeArea(t, buttonIdOf("B-")), expectedSolfege(t, "си"));
    EXPECT_EQ(solfegeArea(t, buttonIdOf("^B")), expectedSolfege(t, "си"));
    for (const char* caption : {"C", "^C", "+C"}) {
        EXPECT_EQ(solfegeArea(t, buttonIdOf(caption)), expectedSolfege(t, "до")) << caption;
    }
    EXPECT_EQ(solfegeArea(t, buttonIdOf("G")), expectedSolfege(t, "соль"));
    EXPECT_NE(expectedSolfege(t, "си"), expectedSolfege(t, "до"));
}

TEST(KeyPainting, RepaintTimerDrawsTheKeyboardOnItsTick) {
    TestDialog t;
    t->OnTimer(StepTimer);
    EXPECT_EQ(t.keyboard().repaintCount, 0);
    t->OnTimer(RepaintTimer);
    EXPECT_EQ(t.keyboard().repaintCount, 1);
}

TEST(KeyPainting, WindowPaintMarksEveryKeyButUpdatingTheBandDoesNot) {
    TestDialog t;
    t.show();
    t->DrawKeyboard();
    QApplication::processEvents();
    EXPECT_FALSE(anyKeyMarked(t));
    t.keyboard().pressKey('Q');
    t->DrawKeyboard();
    QApplication::processEvents();
    EXPECT_FALSE(anyKeyMarked(t));

    // Shown again, the window is painted afresh, the band included.
    t->hide();
    t.show();
    for (const KeyState& key : t.keyboard().keyStates) {
        EXPECT_EQ(key.needsRepaint, 1);
    }
}

TEST(KeyPainting, ClicksGoThroughTheBandToThePianoKeys) {
    TestDialog t;
    t.show();
    t->DrawKeyboard();
    QApplication::processEvents();
    ASSERT_TRUE(t->findChild<KeyboardOverlay*>()->isVisible());
    t.takeSent();
    const QPushButton* c = t->pianoButton(buttonIdOf("C"));
    const QPoint inWindow = c->mapTo(t.dialog().window(), c->rect().center());
    QTest::mouseClick(t->windowHandle(), Qt::LeftButton, {}, inWindow);
    EXPECT_EQ(t.takeSent(), (std::vector{noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)}));
}
