#pragma once

#include <QString>

class QWidget;

namespace ladoton {

// The modal boxes and dialogs the main window raises. The program uses the Qt ones;
// tests answer them from a script.
class Prompts {
  public:
    virtual ~Prompts() = default;

    // A message box with one OK button and no icon.
    virtual void message(QWidget* owner, const QString& caption, const QString& text) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString openFileName(QWidget* owner, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    virtual QString saveFileName(QWidget* owner, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    // The key reassignment dialog; the virtual-key code of the last key pressed in it,
    // 0 when none was.
    virtual int assignKey(QWidget* owner) = 0;
    virtual void about(QWidget* owner) = 0;
};

} // namespace ladoton
