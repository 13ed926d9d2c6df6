#include "ui/KeyAssignDialog.h"

#include "keys/KeyAssignText.h"
#include "platform/InputMethods.h"
#include "platform/KeyTranslation.h"
#include "widgets/DialogFont.h"
#include "widgets/TextRoom.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ladoton {

namespace {

constexpr int WidthDu = 264;
constexpr int HeightDu = 61;
constexpr int KeyEditId = 1064;

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
    setFont(dialogFont(QStringLiteral("MS Sans Serif"), 8));

    auto* prompt =
        new QLabel(QStringLiteral("Назначте новую клавишу на клавиатуре для выбранной"), this);
    prompt->setTextFormat(Qt::PlainText);

    keyEdit_ = new QLineEdit(this);
    keyEdit_->setObjectName(QString::number(KeyEditId));
    keyEdit_->setEnabled(false);
    keyEdit_->setAccessibleName(prompt->text());

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setDefault(true);
    okButton_->setEnabled(false);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    unitsThatFit(
        *this, dialogUnitsOf(font()),
        [this, prompt](const DialogUnits& units) {
            setFixedSize(units.x(WidthDu), units.y(HeightDu));
            prompt->setGeometry(units.rect(10, 15, 190, 8));
            keyEdit_->setGeometry(units.rect(212, 12, 40, 14));
            okButton_->setGeometry(units.rect(108, 36, 50, 14));
        },
        [](const QWidget&) { return true; });
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
