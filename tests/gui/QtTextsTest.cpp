#include "platform/QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTranslator>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

using namespace ladoton;

namespace {

bool isRussian(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

// Qt's texts in Russian for one test; the other tests keep Qt's own English.
class QtTexts : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(loadRussianQtTexts(*qApp)); }
    void TearDown() override { qDeleteAll(qApp->findChildren<QTranslator*>()); }
};

} // namespace

TEST_F(QtTexts, FileDialogButtonsAreRussian) {
    for (const auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(mode);
        const auto* buttons = dialog.findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        for (const QAbstractButton* button : buttons->buttons()) {
            EXPECT_TRUE(isRussian(button->text())) << button->text().toStdString();
        }
    }
}

TEST_F(QtTexts, OverwriteQuestionIsRussian) {
    const QString question = QFileDialog::tr("%1 already exists.\nDo you want to replace it?");
    EXPECT_TRUE(isRussian(question)) << question.toStdString();
}

TEST_F(QtTexts, EditContextMenuIsRussian) {
    QLineEdit edit(QStringLiteral("до2"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            EXPECT_TRUE(isRussian(action->text())) << action->text().toStdString();
        }
    }
}
