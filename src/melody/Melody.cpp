#include "melody/Melody.h"

#include <algorithm>

namespace ladoton {

void Melody::append(const MelodyEvent& event) {
    if (events_.size() == events_.capacity()) {
        events_.reserve(events_.size() + std::max<std::size_t>(events_.size(), 1));
    }
    events_.push_back(event);
}

} // namespace ladoton
