#include "ui/QtPrompts.h"

#include "ui/AboutDialog.h"
#include "ui/KeyAssignDialog.h"

#include <QFileDialog>

namespace ladoton {

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* owner, const QString& caption,
                                            const QString& text) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    // The texts are the program's own and hold angle brackets, never markup.
    box->setTextFormat(Qt::PlainText);
    return box;
}

void QtPrompts::message(QWidget* owner, const QString& caption, const QString& text) {
    makeMessageBox(owner, caption, text)->exec();
}

namespace {
QString runFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const QString& folder,
                      const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(owner, QString(), folder, filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString QtPrompts::openFileName(QWidget* owner, const QString& folder, const QString& filter,
                                const QString& defaultSuffix) {
    return runFileDialog(owner, QFileDialog::AcceptOpen, folder, filter, defaultSuffix);
}

QString QtPrompts::saveFileName(QWidget* owner, const QString& folder, const QString& filter,
                                const QString& defaultSuffix) {
    return runFileDialog(owner, QFileDialog::AcceptSave, folder, filter, defaultSuffix);
}

int QtPrompts::assignKey(QWidget* owner) {
    KeyAssignDialog dialog(owner);
    dialog.exec();
    return dialog.keyCode();
}

void QtPrompts::about(QWidget* owner) {
    AboutDialog dialog(owner);
    dialog.exec();
}

} // namespace ladoton
