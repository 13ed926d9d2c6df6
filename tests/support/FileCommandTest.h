#pragma once

#include "TestKeyboard.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace ladoton::testing {

// What the tests of the file commands share: a keyboard whose clock moves only when told,
// the working folder put back after each test (the commands enter the folder of the file
// chosen), files read and written whole, and the messages shown as (caption, text).
struct FileCommandTest : ::testing::Test {
    using Bytes = std::vector<uint8_t>;

    TestKeyboard t;
    std::filesystem::path startFolder = std::filesystem::current_path();

    void SetUp() override {
        t.clock.sleepAdvances = false;
        t.takeSent();
    }
    void TearDown() override { std::filesystem::current_path(startFolder); }

    std::filesystem::path writeFile(const std::string& name, const Bytes& bytes) {
        const std::filesystem::path file = t.folder() / name;
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return file;
    }
    static Bytes readFile(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::pair<std::string, std::string>> messages() {
        std::vector<std::pair<std::string, std::string>> shown;
        for (const auto& message : t.window().messages) {
            shown.emplace_back(message.caption, message.text);
        }
        return shown;
    }
};

} // namespace ladoton::testing
