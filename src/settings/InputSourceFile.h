#pragma once

#include <filesystem>
#include <string>

namespace ladoton {

// The MIDI input's chosen source by its port name, kept from run to run in a text file of
// one line. A file that is missing, unreadable or not a name reads as no source.
std::string readInputSourceFile(const std::filesystem::path& file);
// Replaces the file whole or leaves it as it was; false on failure.
bool writeInputSourceFile(const std::filesystem::path& file, const std::string& source);

} // namespace ladoton
