#include "keys/KeyAssignDialog.h"

#include "app/DialogUnits.h"
#include "keys/KeyAssignText.h"
#include "keys/KeyTranslation.h"
#include "platform/InputMethods.h"
#include "ui/DialogFont.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ladoton {

namespace {

constexpr int WidthDu = 264;
constexpr int HeightDu = 61;
constexpr int KeyEditId = 1064;
constexpr int PromptWidthDu = 190;

// Alt combinations and F10 belong to the window system (Alt+F4 closes the dialog);
// Escape closes the dialog and so cannot be the key the user is choosing.
bool isForTheDialog(const QKeyEvent& event) {
    return (event.modifiers() & Qt::AltModifier) == 0 && event.key() != Qt::Key_Alt &&
           event.key() != Qt::Key_AltGr && event.key() != Qt::Key_F10 &&
           event.key() != Qt::Key_Escape;
}

} // namespace

KeyAssignDialog::KeyAssignDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Переназначение клавиш"));
    const QString promptText = QStringLiteral("Назначте новую клавишу на клавиатуре для выбранной");
    // 8 points at 96 dpi.
    setFont(dialogFont(QStringLiteral("MS Sans Serif"), 11,
                       {{promptText, duToPixelsX(PromptWidthDu)}}));
    setFixedSize(duToPixelsX(WidthDu), duToPixelsY(HeightDu));

    auto* prompt = new QLabel(promptText, this);
    prompt->setTextFormat(Qt::PlainText);
    prompt->setGeometry(duRect(10, 15, PromptWidthDu, 8));

    keyEdit_ = new QLineEdit(this);
    keyEdit_->setObjectName(QString::number(KeyEditId));
    keyEdit_->setGeometry(duRect(212, 12, 40, 14));
    keyEdit_->setEnabled(false);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setGeometry(duRect(108, 36, 50, 14));
    okButton_->setDefault(true);
    okButton_->setEnabled(false);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    turnOffInputMethods(*this);
}

void KeyAssignDialog::onKeyDown(int keyCode) {
    keyCode_ = keyCode;
    keyText = QString::fromStdString(keyAssignText(keyCode));
    keyEdit_->setText(keyText);
}

bool KeyAssignDialog::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
        if (const int keyCode = virtualKeyFromEvent(keyEvent);
            isForTheDialog(keyEvent) && keyCode != NoKey) {
            onKeyDown(keyCode);
        }
    }
    return QDialog::event(event);
}

} // namespace ladoton
