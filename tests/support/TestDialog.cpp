#include "TestDialog.h"

#include <QApplication>
#include <random>

namespace ladoton::testing {

namespace {
std::filesystem::path makeTemporaryFolder() {
    std::random_device random;
    auto folder = std::filesystem::temp_directory_path() /
                  ("ladoton-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(folder);
    return folder;
}
} // namespace

TestDialog::TestDialog(bool initialise) : folder_(makeTemporaryFolder()) {
    restart(initialise);
}

TestDialog::~TestDialog() {
    dialog_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void TestDialog::restart(bool initialise) {
    dialog_.reset();
    state_ = std::make_unique<ProgramState>(backend, clock);
    dialog_ = std::make_unique<KeyboardDialog>(
        *state_, KeyboardDialog::Seams{clock, prompts, settingsFile()});
    if (initialise) {
        dialog_->OnInitDialog();
    }
}

void TestDialog::show() {
    dialog_->show();
    QApplication::processEvents();
}

std::vector<ShortMessage> TestDialog::takeSent() {
    std::vector<ShortMessage> sent;
    sent.swap(backend.sent);
    return sent;
}

ShortMessage noteOn(int status, int note, int velocity) {
    return ShortMessage{
        {static_cast<uint8_t>(status), static_cast<uint8_t>(note), static_cast<uint8_t>(velocity)},
        3};
}

ShortMessage programChange(int status, int program) {
    return ShortMessage{{static_cast<uint8_t>(status), static_cast<uint8_t>(program), 0}, 2};
}

} // namespace ladoton::testing
