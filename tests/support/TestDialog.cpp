#include "TestDialog.h"

#include <QApplication>

namespace ladoton::testing {

TestDialog::TestDialog(bool initialise) {
    restart(initialise);
}

TestDialog::~TestDialog() {
    dialog_.reset();
}

void TestDialog::restart(bool initialise) {
    dialog_.reset();
    keyboard_ = std::make_unique<Keyboard>(backend, clock, settingsFile());
    dialog_ = std::make_unique<KeyboardDialog>(*keyboard_, prompts);
    if (initialise) {
        dialog_->OnInitDialog();
    }
}

void TestDialog::showActive() {
    show();
    dialog_->activateWindow();
    QApplication::processEvents();
    takeSent();
}

void TestDialog::show() {
    dialog_->show();
    QApplication::processEvents();
}

std::vector<ShortMessage> TestDialog::takeSent() {
    std::vector<ShortMessage> sent;
    sent.swap(backend.sent);
    return sent;
}

} // namespace ladoton::testing
