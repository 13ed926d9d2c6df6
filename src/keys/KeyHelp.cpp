#include "keys/KeyHelp.h"

#include <array>

namespace ladoton {

namespace {
constexpr std::array<const char*, 10> Paragraphs = {
    "Для воспроизведения используются два ряда клавиш:",
    "Ряд с цифрами и ряд QWERTY...",
    "<Z> - сброс",
    "<SPACE> - проиграть",
    "<Cursor Up>,<Cursor Down> - смена инструмента",
    "<Ctrl> + <Cursor Up>,<Cursor Down> - смена октавы",
    "<Ctrl> + <Cursor Right>,<Cursor Left> - изменения базы на полтона",
    "<Ctrl> + мышкой по клавише - переназначение клавиш",
    "<M> - пустая нота",
    "Правой кнопкой мыши по пустому месту - выбрать устройство вывода",
};
constexpr const char* Separator = "\r\n\r\n";
} // namespace

std::string keyHelpText() {
    std::string text;
    for (const char* paragraph : Paragraphs) {
        if (!text.empty()) {
            text += Separator;
        }
        text += paragraph;
    }
    return text;
}

} // namespace ladoton
