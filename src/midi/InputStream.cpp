#include "midi/InputStream.h"

#include <algorithm>
#include <array>

namespace ladoton {

// A loss is told where it happened in the stream: the notes that started before it end there,
// and none that was queued before it starts after it. What follows is framed afresh, since the
// running status it was sent under may have been lost.
bool InputStream::read(InputReceiver& receiver, std::size_t limit) {
    std::array<uint8_t, 512> bytes{};
    std::size_t total = 0;
    for (;;) {
        tellLoss(receiver);
        if (total >= limit) {
            return true;
        }
        const std::size_t count = queue_.pop(bytes.data(), std::min(bytes.size(), limit - total));
        if (count == 0) {
            if (!tellLoss(receiver)) { // a loss may have been marked since the look above
                return false;
            }
            continue;
        }
        total += count;
        for (std::size_t i = 0; i < count; ++i) {
            if (const auto message = parser_.feed(bytes[i])) {
                receiver.receive(*message);
            }
        }
    }
}

bool InputStream::tellLoss(InputReceiver& receiver) {
    if (!queue_.takeLoss()) {
        return false;
    }
    parser_ = {};
    receiver.lost();
    return true;
}

} // namespace ladoton
