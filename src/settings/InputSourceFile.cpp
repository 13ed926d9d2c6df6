#include "settings/InputSourceFile.h"

#include "settings/SettingsRecord.h"

#include <algorithm>
#include <fstream>

namespace ladoton {

namespace {
// Far longer than any port name; a larger file is not ours.
constexpr std::size_t LongestName = 1024;
} // namespace

std::string readInputSourceFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string name(LongestName + 1, '\0');
    in.read(name.data(), static_cast<std::streamsize>(name.size()));
    name.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    if (name.size() > LongestName) {
        return {};
    }
    name = name.substr(0, name.find('\n'));
    const bool control = std::any_of(name.begin(), name.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return control ? std::string{} : name;
}

bool writeInputSourceFile(const std::filesystem::path& file, const std::string& source) {
    return replaceFile(file, source + "\n");
}

} // namespace ladoton
