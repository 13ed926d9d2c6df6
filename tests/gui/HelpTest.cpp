#include "TestDialog.h"
#include "ui/AboutDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;

namespace {

QStringList paragraphsOf(const QString& text) {
    return text.split(QStringLiteral("\r\n\r\n"));
}

QLabel* labelWithText(const QWidget& parent, const QString& text) {
    for (QLabel* label : parent.findChildren<QLabel*>()) {
        if (label->text() == text) {
            return label;
        }
    }
    return nullptr;
}

} // namespace

TEST(KeyHelp, TenParagraphsWithOneEmptyLineBetweenNeighbours) {
    TestDialog t;
    t->OnCommand(command::KeyHelp);
    ASSERT_EQ(t.prompts.messages.size(), 1u);
    const auto& shown = t.prompts.messages.front();
    EXPECT_EQ(shown.caption, QStringLiteral("Используемые клавиши"));

    const QStringList paragraphs = paragraphsOf(shown.text);
    ASSERT_EQ(paragraphs.size(), 10);
    for (const QString& paragraph : paragraphs) {
        EXPECT_FALSE(paragraph.isEmpty());
        EXPECT_FALSE(paragraph.contains(QLatin1Char('\r')) ||
                     paragraph.contains(QLatin1Char('\n')));
    }
    EXPECT_EQ(paragraphs.front(),
              QStringLiteral("Для воспроизведения используются два ряда клавиш:"));
    EXPECT_EQ(paragraphs[2], QStringLiteral("<Z> - сброс"));
    EXPECT_EQ(paragraphs.back(),
              QStringLiteral("Правой кнопкой мыши по пустому месту - выбрать устройство вывода"));
}

TEST(KeyHelp, ShowsTheSameTextEveryTime) {
    TestDialog t;
    t->OnCommand(command::KeyHelp);
    t->OnCommand(command::KeyHelp);
    ASSERT_EQ(t.prompts.messages.size(), 2u);
    EXPECT_EQ(t.prompts.messages[0].text, t.prompts.messages[1].text);
}

TEST(KeyHelp, F1IsPlayedAsAKeyAndOpensTheHelp) {
    TestDialog t;
    t.show();
    QTest::keyPress(t->melodyEdit, Qt::Key_F1);
    EXPECT_EQ(t.keyboard().keyCodeText, "112");
    ASSERT_EQ(t.prompts.messages.size(), 1u);
    EXPECT_EQ(t.prompts.messages.front().caption, QStringLiteral("Используемые клавиши"));

    // Holding F1 does not stack up boxes.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(t->melodyEdit, &repeat);
    EXPECT_EQ(t.prompts.messages.size(), 1u);
    QTest::keyRelease(t->melodyEdit, Qt::Key_F1);
}

TEST(About, MenuCommandRunsTheAboutBox) {
    TestDialog t;
    t->OnCommand(command::About);
    EXPECT_EQ(t.prompts.aboutCount, 1);
}

TEST(About, HasNoButtonsAndGreysTheDescription) {
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе "));
    EXPECT_TRUE(about.findChildren<QAbstractButton*>().isEmpty());

    QLabel* name = labelWithText(about, QStringLiteral("Ладотон. Версия 1.1"));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->isEnabled());
    for (const char* line : {"Программа предназначена для любителей музыки,",
                             "не имеющих возможности купить себе", "настоящую MIDI клавиатуру."}) {
        QLabel* label = labelWithText(about, QString::fromUtf8(line));
        ASSERT_NE(label, nullptr) << line;
        EXPECT_FALSE(label->isEnabled()) << line;
    }

    bool hasIcon = false;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        hasIcon = hasIcon || !label->pixmap().isNull();
    }
    EXPECT_TRUE(hasIcon);
}

TEST(About, EnterEscapeAndTheCloseBoxCloseIt) {
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape), 0}) {
        AboutDialog about;
        about.show();
        if (key == 0) {
            about.close();
        } else {
            QTest::keyClick(&about, Qt::Key(key));
        }
        EXPECT_FALSE(about.isVisible()) << key;
    }
}
