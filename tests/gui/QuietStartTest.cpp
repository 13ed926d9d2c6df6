// The program's start must stay quiet on the terminal and must not start servers: the RtMidi
// backend without a JACK server (and the ALSA sequencer, where there is none), and the runtime
// folder Qt asks for.
#include "platform/RuntimeFolder.h"
#include "ports/RtMidiBackend.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace ladoton {
namespace {

namespace fs = std::filesystem;

// Sets or unsets an environment variable for one test and puts the old value back.
class EnvironmentVariable {
  public:
    EnvironmentVariable(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        set(value);
    }
    ~EnvironmentVariable() { set(old_); }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

  private:
    void set(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

// Everything written to the process's standard error (file descriptor 2) while it lives.
class CapturedStandardError {
  public:
    CapturedStandardError() : file_(std::tmpfile()) {
        std::fflush(stderr);
        saved_ = dup(2);
        dup2(fileno(file_), 2);
    }
    ~CapturedStandardError() {
        restore();
        std::fclose(file_);
    }
    CapturedStandardError(const CapturedStandardError&) = delete;
    CapturedStandardError& operator=(const CapturedStandardError&) = delete;

    std::string text() {
        restore();
        std::rewind(file_);
        std::string result;
        for (int c = std::fgetc(file_); c != EOF; c = std::fgetc(file_)) {
            result.push_back(static_cast<char>(c));
        }
        return result;
    }

  private:
    void restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, 2);
            close(saved_);
            saved_ = -1;
        }
    }
    std::FILE* file_;
    int saved_ = -1;
};

bool alsaSequencerDevice() {
    return fs::exists("/dev/snd/seq");
}

TEST(RtMidiBackendTest, WithoutJackServerListsNoJackPortAndPrintsNothing) {
    const EnvironmentVariable server("JACK_DEFAULT_SERVER",
                                     "ladoton-test-absent-" + std::to_string(getpid()));
    const EnvironmentVariable noStart("JACK_NO_START_SERVER", std::nullopt);
    CapturedStandardError output;
    {
        RtMidiBackend backend;
        const auto devices = backend.listDevices();
        if (!alsaSequencerDevice()) {
            EXPECT_TRUE(devices.empty());
            EXPECT_FALSE(backend.open(0));
        }
        EXPECT_FALSE(backend.open(static_cast<int>(devices.size())));
        EXPECT_FALSE(backend.open(-1));
        backend.send({{0x90, 60, 100}, 3});
        backend.close();
        backend.close();
        // libjack may look at the environment before the flag of each call.
        ASSERT_NE(std::getenv("JACK_NO_START_SERVER"), nullptr);
        EXPECT_STREQ(std::getenv("JACK_NO_START_SERVER"), "1");
    }
    EXPECT_EQ(output.text(), "");
}

class RuntimeFolderTest : public ::testing::Test {
  protected:
    RuntimeFolderTest() {
        std::string pattern = (fs::temp_directory_path() / "ladoton-runtime-test-XXXXXX").string();
        temp_ = mkdtemp(pattern.data());
        tmpdir_.emplace("TMPDIR", temp_.string());
        runtime_.emplace("XDG_RUNTIME_DIR", std::nullopt);
    }
    ~RuntimeFolderTest() override {
        runtime_.reset();
        tmpdir_.reset();
        fs::remove_all(temp_);
    }

    fs::path usualFolder() const { return temp_ / ("runtime-" + std::string(userName())); }
    static const char* userName() { return getpwuid(geteuid())->pw_name; }
    static std::string runtimeFolder() {
        const char* value = std::getenv("XDG_RUNTIME_DIR");
        return value != nullptr ? value : "";
    }
    static unsigned permissions(const fs::path& path) {
        struct stat info {};
        stat(path.c_str(), &info);
        return info.st_mode & 0777;
    }

    fs::path temp_;
    std::optional<EnvironmentVariable> tmpdir_;
    std::optional<EnvironmentVariable> runtime_;
};

TEST_F(RuntimeFolderTest, UnsetGivesTheUsersFolderPrivateToThem) {
    provideRuntimeFolder();
    EXPECT_EQ(runtimeFolder(), usualFolder().string());
    EXPECT_TRUE(fs::is_directory(usualFolder()));
    EXPECT_EQ(permissions(usualFolder()), 0700u);
}

TEST_F(RuntimeFolderTest, AnOpenFolderOfTheUserIsMadePrivate) {
    fs::create_directory(usualFolder());
    chmod(usualFolder().c_str(), 0755);
    provideRuntimeFolder();
    EXPECT_EQ(runtimeFolder(), usualFolder().string());
    EXPECT_EQ(permissions(usualFolder()), 0700u);
}

TEST_F(RuntimeFolderTest, AFileInTheWayGivesAFreshPrivateFolder) {
    std::ofstream(usualFolder()) << "not a folder";
    provideRuntimeFolder();
    const fs::path chosen = runtimeFolder();
    EXPECT_NE(chosen, usualFolder());
    EXPECT_EQ(chosen.parent_path(), temp_);
    EXPECT_TRUE(fs::is_directory(chosen));
    EXPECT_EQ(permissions(chosen), 0700u);
}

TEST_F(RuntimeFolderTest, AValueAlreadySetIsKept) {
    const EnvironmentVariable given("XDG_RUNTIME_DIR", "/run/user/4242");
    provideRuntimeFolder();
    EXPECT_EQ(runtimeFolder(), "/run/user/4242");
    EXPECT_FALSE(fs::exists(usualFolder()));
}

} // namespace
} // namespace ladoton
