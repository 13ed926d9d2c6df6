#pragma once

#include "platform/Prompts.h"

#include <QMessageBox>
#include <memory>

namespace ladoton {

// A message box as the program shows it: the text, one OK button, no icon.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* owner, const QString& caption,
                                            const QString& text);

class QtPrompts final : public Prompts {
  public:
    void message(QWidget* owner, const QString& caption, const QString& text) override;
    QString openFileName(QWidget* owner, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) override;
    QString saveFileName(QWidget* owner, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) override;
    int assignKey(QWidget* owner) override;
    void about(QWidget* owner) override;
};

} // namespace ladoton
