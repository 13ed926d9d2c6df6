#include "keys/SpokenKeyName.h"

#include "keys/VirtualKeys.h"

namespace ladoton {

namespace {
struct NamedKey {
    int keyCode;
    const char* name;
};

constexpr NamedKey NamedKeys[] = {
    {vk::Tab, "Tab"},
    {vk::Return, "Enter"},
    {vk::Back, "Backspace"},
    {vk::Delete, "Delete"},
    {vk::End, "End"},
    {vk::Home, "Home"},
    {vk::Next, "Page Down"},
    {vk::Prior, "Page Up"},
    {vk::Space, "пробел"},
    {vk::Oem4, "["},
    {vk::Oem6, "]"},
    {vk::OemPlus, "="},
    {vk::Oem5, "\\"},
    {vk::OemMinus, "-"},
    {vk::Multiply, "цифровая *"},
    {vk::Add, "цифровая +"},
    {vk::Subtract, "цифровая -"},
    {vk::Divide, "цифровая /"},
    {vk::Decimal, "цифровая ,"},
};
} // namespace

std::string spokenKeyName(int keyCode) {
    if ((keyCode >= vk::Digit0 && keyCode <= vk::Digit0 + 9) ||
        (keyCode >= vk::LetterA && keyCode <= vk::LetterA + 25)) {
        return std::string(1, static_cast<char>(keyCode));
    }
    if (keyCode >= vk::Numpad0 && keyCode <= vk::Numpad0 + 9) {
        return "цифровая " + std::to_string(keyCode - vk::Numpad0);
    }
    for (const NamedKey& key : NamedKeys) {
        if (key.keyCode == keyCode) {
            return key.name;
        }
    }
    return {};
}

} // namespace ladoton
