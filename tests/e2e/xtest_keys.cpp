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
//        ladoton_xtest_keys --keysym CODE
//   prints the name of the keysym that key CODE gives now, unshifted.

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

int printKeysym(Display* display, const std::string& code) {
    long keyCode = 0;
    XkbStateRec state{};
    if (!parseNumber(code, keyCode) || keyCode < 8 || keyCode > 255 ||
        XkbGetState(display, XkbUseCoreKbd, &state) != Success) {
        std::fprintf(stderr, "ladoton_xtest_keys: cannot look up key '%s'\n", code.c_str());
        return 2;
    }
    const KeySym keysym =
        XkbKeycodeToKeysym(display, static_cast<KeyCode>(keyCode), state.group, 0);
    const char* name = XKeysymToString(keysym);
    std::printf("%s\n", name != nullptr ? name : "NoSymbol");
    return 0;
}

// The queries that print something instead of pressing keys; -1 when the arguments are none.
int query(Display* display, int argc, char** argv) {
    const std::string option = argc >= 2 ? argv[1] : "";
    if (argc == 2 && option == "--num-lock") {
        return printNumLock(display);
    }
    if (argc == 3 && option == "--keysym") {
        return printKeysym(display, argv[2]);
    }
    return -1;
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
    int status = query(display, argc, argv);
    if (status >= 0) {
        XCloseDisplay(display);
        return status;
    }
    status = 0;
    for (int index = 1; index < argc && status == 0; ++index) {
        if (!perform(display, argv[index])) {
            std::fprintf(stderr, "ladoton_xtest_keys: bad action '%s'\n", argv[index]);
            status = 2;
        }
    }
    XCloseDisplay(display);
    return status;
}
