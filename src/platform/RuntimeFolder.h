#pragma once

namespace ladoton {

// Qt warns on the terminal when XDG_RUNTIME_DIR is not set (under su, cron or a bare CI shell)
// and then uses /tmp/runtime-<user> all the same. Sets the variable to that folder, made private
// to the user, before Qt looks, so the start stays quiet. Does nothing when it is set already.
void provideRuntimeFolder();

} // namespace ladoton
