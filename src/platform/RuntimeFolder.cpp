#include "platform/RuntimeFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace ladoton {

namespace {

std::string userName() {
    const passwd* entry = getpwuid(geteuid());
    if (entry != nullptr && entry->pw_name != nullptr && entry->pw_name[0] != '\0') {
        return entry->pw_name;
    }
    return std::to_string(geteuid());
}

std::string tempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
}

// The folder as Qt wants it: ours, a real folder, readable and writable by us alone.
bool usable(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        return false;
    }
    return (info.st_mode & 0777) == 0700 || chmod(path.c_str(), 0700) == 0;
}

bool prepare(const std::string& path) {
    mkdir(path.c_str(), 0700);
    return usable(path);
}

// Someone else's folder under the usual name: a fresh one of our own instead.
std::string freshFolder() {
    std::string pattern = tempFolder() + "/runtime-" + userName() + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    return mkdtemp(buffer.data()) != nullptr ? std::string(buffer.data()) : std::string();
}

} // namespace

void provideRuntimeFolder() {
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current != nullptr && current[0] != '\0') {
        return;
    }
    std::string path = tempFolder() + "/runtime-" + userName();
    if (!prepare(path)) {
        path = freshFolder();
    }
    if (!path.empty()) {
        setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
}

} // namespace ladoton
