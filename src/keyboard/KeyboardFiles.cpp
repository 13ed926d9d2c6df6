#include "keyboard/Keyboard.h"
#include "melody/MelodyFileIo.h"

#include <string>
#include <system_error>

namespace ladoton {

namespace {
const std::string FileFilter = "Файлы Ладотон (*.mdt)";
const std::string FileSuffix = "mdt";
const std::string SaveCaption = "Запись композиции";
const std::string LoadCaption = "Загрузка композиции";
const std::string InvalidCaption = "Загрузка midi данных";
const std::string MidiFilter = "Файлы MIDI (*.mid)";
const std::string MidiSuffix = "mid";
const std::string ExportCaption = "Экспорт в MIDI";

// Like the system dialogs, choosing a file makes its folder the current directory, so the
// next dialog, and every relative file name, starts from there. The chosen name is made
// absolute first, so that it still names the chosen file from the new current directory.
std::filesystem::path enterFolderOf(const std::filesystem::path& chosen) {
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(chosen, error);
    if (error) {
        return chosen;
    }
    std::filesystem::current_path(file.parent_path(), error);
    return file;
}

std::string savedText(const std::filesystem::path& file, uint64_t length) {
    return "Файл " + file.filename().string() + " успешно записан(" + std::to_string(length) +
           " байт)";
}

std::string saveFailedText(const std::filesystem::path& file) {
    return "Ошибка записи файла " + file.filename().string();
}

std::string savedOrFailedText(const std::filesystem::path& file,
                              const std::optional<uint64_t>& length) {
    return length ? savedText(file, *length) : saveFailedText(file);
}
} // namespace

void Keyboard::saveMelody() {
    const std::filesystem::path chosen = window().saveFileName(FileFilter, FileSuffix);
    if (chosen.empty()) {
        return;
    }
    const std::filesystem::path file = enterFolderOf(chosen);
    const std::optional<uint64_t> length = saveMelodyFile(file, melody.events());
    window().message(SaveCaption, savedOrFailedText(file, length));
}

// The file holds what one playback pass would send with the values set now.
void Keyboard::exportMidi() {
    window().updateData(true);
    const std::filesystem::path chosen = window().saveFileName(MidiFilter, MidiSuffix);
    if (chosen.empty()) {
        return;
    }
    const std::filesystem::path file = enterFolderOf(chosen);
    const PlayingSettings settings{channel, currentProgram, octave, transposition, amplitude};
    const std::optional<uint64_t> length =
        exportMidiFile(file, melody.events(), keyTable, settings);
    window().message(ExportCaption, savedOrFailedText(file, length));
}

void Keyboard::loadMelody() {
    const std::filesystem::path chosen = window().openFileName(FileFilter, FileSuffix);
    if (chosen.empty()) {
        return;
    }
    const std::filesystem::path file = enterFolderOf(chosen);
    MelodyLoadResult loaded = loadMelodyFile(file);
    switch (loaded.status) {
    case MelodyLoadStatus::NotLoaded:
        window().message(LoadCaption, "Данные не загружены");
        return;
    case MelodyLoadStatus::Invalid:
        window().message(InvalidCaption, "Файл " + file.filename().string() + " некорректен");
        return;
    case MelodyLoadStatus::Loaded:
        break;
    }
    // A running pass goes on from its position in the new melody; held keys stay held.
    melody.replace(std::move(loaded.events));
    unrecordInputNotes();
    playback.isPlaying = true;
}

} // namespace ladoton
