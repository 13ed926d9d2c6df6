#pragma once

#include <QDialog>

namespace ladoton {

// The program's name, version and purpose. It has no buttons: Enter, Escape and the
// close box close it.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* owner = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ladoton
