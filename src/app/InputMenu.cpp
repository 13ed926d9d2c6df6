#include "app/InputMenu.h"

#include "keyboard/Keyboard.h"
#include "midi/MidiInput.h"
#include "platform/Prompts.h"
#include "settings/InputSourceFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>

namespace ladoton {

namespace {
constexpr const char* SourceProperty = "ladotonInputSource";

void addSource(QMenu& menu, const QString& text, const std::string& name, bool chosen) {
    QAction* action = menu.addAction(text);
    action->setProperty(SourceProperty, QString::fromStdString(name));
    action->setCheckable(true);
    action->setChecked(chosen);
}
} // namespace

void InputMenu::addTo(QMenu& menu) {
    const std::string chosen = input_.chosenSource();
    menu.addSeparator();
    menu.addAction(QStringLiteral("Вход MIDI:"))->setEnabled(false);
    addSource(menu, QStringLiteral("Нет"), {}, chosen.empty());
    for (const std::string& name : input_.listSources()) {
        addSource(menu, QString::fromStdString(name), name, name == chosen);
    }
}

bool InputMenu::run(QAction* action, Keyboard& keyboard, Prompts& prompts, QWidget* window) {
    const QVariant source = action->property(SourceProperty);
    if (!source.isValid()) {
        return false;
    }
    const std::string name = source.toString().toStdString();
    // The notes of the old source get their note-offs before it is let go.
    keyboard.releaseInputNotes();
    if (!input_.chooseSource(name)) {
        const QString caption =
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        prompts.message(window, caption,
                        QStringLiteral("Не могу подключить вход MIDI: ") +
                            QString::fromStdString(name));
        return true;
    }
    writeInputSourceFile(choiceFile_, name);
    return true;
}

} // namespace ladoton
