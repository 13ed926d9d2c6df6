#include "app/KeyboardDialog.h"
#include "melody/MelodyFileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ladoton {

namespace {
const QString FileFilter = QStringLiteral("Файлы Ладотон (*.mdt)");
const QString FileSuffix = QStringLiteral("mdt");
const QString SaveCaption = QStringLiteral("Запись композиции");
const QString LoadCaption = QStringLiteral("Загрузка композиции");
const QString InvalidCaption = QStringLiteral("Загрузка midi данных");
const QString MidiFilter = QStringLiteral("Файлы MIDI (*.mid)");
const QString MidiSuffix = QStringLiteral("mid");
const QString ExportCaption = QStringLiteral("Экспорт в MIDI");

std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

// Like the system dialogs, choosing a file makes its folder the current directory, so the
// next dialog, and every relative file name, starts from there.
void enterFolderOf(const QString& file) {
    QDir::setCurrent(QFileInfo(file).absolutePath());
}

QString savedText(const QString& name, uint64_t length) {
    return QStringLiteral("Файл ") + name + QStringLiteral(" успешно записан(") +
           QString::number(length) + QStringLiteral(" байт)");
}

QString saveFailedText(const QString& name) {
    return QStringLiteral("Ошибка записи файла ") + name;
}
} // namespace

void KeyboardDialog::saveMelody() {
    const QString file = prompts_.saveFileName(this, QDir::currentPath(), FileFilter, FileSuffix);
    if (file.isEmpty()) {
        return;
    }
    enterFolderOf(file);
    const QString name = QFileInfo(file).fileName();
    const std::optional<uint64_t> length = saveMelodyFile(toPath(file), melody_.events());
    prompts_.message(this, SaveCaption, length ? savedText(name, *length) : saveFailedText(name));
}

// The file holds what one playback pass would send with the values set now.
void KeyboardDialog::exportMidi() {
    UpdateData(true);
    const QString file = prompts_.saveFileName(this, QDir::currentPath(), MidiFilter, MidiSuffix);
    if (file.isEmpty()) {
        return;
    }
    enterFolderOf(file);
    const PlayingSettings settings{channel, state_.currentProgram, octave, transposition,
                                   amplitude};
    const QString name = QFileInfo(file).fileName();
    const std::optional<uint64_t> length =
        exportMidiFile(toPath(file), melody_.events(), keyTable_, settings);
    prompts_.message(this, ExportCaption, length ? savedText(name, *length) : saveFailedText(name));
}

void KeyboardDialog::loadMelody() {
    const QString file = prompts_.openFileName(this, QDir::currentPath(), FileFilter, FileSuffix);
    if (file.isEmpty()) {
        return;
    }
    enterFolderOf(file);
    MelodyLoadResult loaded = loadMelodyFile(toPath(file));
    switch (loaded.status) {
    case MelodyLoadStatus::NotLoaded:
        prompts_.message(this, LoadCaption, QStringLiteral("Данные не загружены"));
        return;
    case MelodyLoadStatus::Invalid:
        prompts_.message(this, InvalidCaption,
                         QStringLiteral("Файл ") + QFileInfo(file).fileName() +
                             QStringLiteral(" некорректен"));
        return;
    case MelodyLoadStatus::Loaded:
        break;
    }
    // A running pass goes on from its position in the new melody; held keys stay held.
    melody_.replace(std::move(loaded.events));
    playback_.isPlaying = true;
}

} // namespace ladoton
