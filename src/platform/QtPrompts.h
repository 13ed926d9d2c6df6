#pragma once

#include "platform/Prompts.h"

namespace ladoton {

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
