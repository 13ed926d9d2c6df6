#pragma once

namespace ladoton {

// X11 repeats a held key as pairs of a release and a press. Qt flags such a pair as a repeat
// only when the press has already arrived while it handles the release; on a busy machine the
// pair slips through as a real release and a new press, and the held note is cut and struck
// again. Asks the X server to repeat held keys with presses alone, as Windows does, so that
// the only release is the real one. Does nothing on other platforms. Call after the
// QApplication exists.
void requestPressOnlyKeyRepeat();

} // namespace ladoton
