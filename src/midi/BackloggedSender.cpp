#include "midi/BackloggedSender.h"

namespace ladoton {

void BackloggedSender::send(const ShortMessage& message) {
    if (waiting()) {
        backlog_.add(message); // behind what waits
        retry();
    } else if (!trySend_(message)) {
        backlog_.add(message);
    }
}

bool BackloggedSender::retry() {
    backlog_.drain(trySend_);
    return !waiting();
}

} // namespace ladoton
