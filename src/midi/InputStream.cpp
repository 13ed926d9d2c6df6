#include "midi/InputStream.h"

#include <algorithm>
#include <array>

namespace ladoton {

bool InputStream::read(InputReceiver& receiver, std::size_t limit) {
    std::array<uint8_t, 512> bytes{};
    std::size_t total = 0;
    bool more = true;
    while (total < limit) {
        const std::size_t count = queue_.pop(bytes.data(), std::min(bytes.size(), limit - total));
        if (count == 0) {
            more = false;
            break;
        }
        total += count;
        for (std::size_t i = 0; i < count; ++i) {
            if (const auto message = parser_.feed(bytes[i])) {
                receiver.receive(*message);
            }
        }
    }
    if (queue_.takeOverflow()) {
        receiver.lost();
    }
    return more;
}

} // namespace ladoton
