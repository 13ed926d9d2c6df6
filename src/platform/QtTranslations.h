#pragma once

class QCoreApplication;

namespace ladoton {

// Puts Qt's own texts (file dialogs, their buttons and questions, the edits' context
// menus) into Russian, as the rest of the program is, whatever the user's locale.
// Returns false where the system has no Russian translation of Qt; Qt then speaks English.
bool loadRussianQtTexts(QCoreApplication& application);

} // namespace ladoton
