// Presses physical keys by raw X key code through XTEST, so that a test types the same key
// positions whatever layout is active (xdotool looks keysyms up and may remap a spare key code
// instead).
//
// Usage: ladoton_xtest_keys ACTION...
//   +CODE  press key CODE        -CODE  release key CODE
//   CODE   press and release     @MS    wait MS milliseconds
// Every action reaches the server before the next one starts.
//        ladoton_xtest_keys --num-lock
//   prints "on" or "off": the state of the Num Lock indicator.

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

bool parseNumber(const std::string& text, long& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' && value >= 0;
}

void fakeKey(Display* display, unsigned keyCode, bool down) {
    XTestFakeKeyEvent(display, keyCode, down ? True : False, CurrentTime);
    XSync(display, False);
}

bool perform(Display* display, const std::string& action) {
    const char kind = action.empty() ? '\0' : action[0];
    const bool prefixed = kind == '+' || kind == '-' || kind == '@';
    long number = 0;
    if (!parseNumber(prefixed ? action.substr(1) : action, number)) {
        return false;
    }
    if (kind == '@') {
        std::this_thread::sleep_for(std::chrono::milliseconds(number));
        return true;
    }
    if (number < 8 || number > 255) {
        return false;
    }
    const auto keyCode = static_cast<unsigned>(number);
    if (kind != '-') {
        fakeKey(display, keyCode, true);
    }
    if (kind != '+') {
        fakeKey(display, keyCode, false);
    }
    return true;
}

int printNumLock(Display* display) {
    Bool on = False;
    const Atom name = XInternAtom(display, "Num Lock", False);
    if (!XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr)) {
        std::fprintf(stderr, "ladoton_xtest_keys: no Num Lock indicator\n");
        return 2;
    }
    std::printf("%s\n", on ? "on" : "off");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "ladoton_xtest_keys: cannot open the display\n");
        return 2;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        std::fprintf(stderr, "ladoton_xtest_keys: the X server has no XTEST\n");
        XCloseDisplay(display);
        return 2;
    }
    if (argc == 2 && std::string(argv[1]) == "--num-lock") {
        const int status = printNumLock(display);
        XCloseDisplay(display);
        return status;
    }
    int status = 0;
    for (int index = 1; index < argc && status == 0; ++index) {
        if (!perform(display, argv[index])) {
            std::fprintf(stderr, "ladoton_xtest_keys: bad action '%s'\n", argv[index]);
            status = 2;
        }
    }
    XCloseDisplay(display);
    return status;
}
