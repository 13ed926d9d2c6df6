#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace ladoton {

// Asks for the PC key to bind to a piano key: shows the last key pressed in it. Its
// edit and OK button are disabled, so the window itself takes every key; Escape and
// the close box close it.
class KeyAssignDialog : public QDialog {
    Q_OBJECT

  public:
    explicit KeyAssignDialog(QWidget* owner = nullptr);

    // The key-down handler: the key becomes the one shown and the one to bind.
    void onKeyDown(int keyCode);

    // Virtual-key code of the last key pressed, 0 when none was.
    int keyCode() const { return keyCode_; }

    QLineEdit* keyEdit() const { return keyEdit_; }
    QPushButton* okButton() const { return okButton_; }

    // Shown in the edit: see keyAssignText.
    QString keyText;

  protected:
    bool event(QEvent* event) override;

  private:
    int keyCode_ = 0;
    QLineEdit* keyEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace ladoton
