#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace ladoton {

// The notes one key press started. A key bound to several rows starts one note per row,
// and its release must end all of them, not only the last.
template <std::size_t Capacity> class StartedNotes {
  public:
    void clear() { count_ = 0; }

    // A note already started by this press is kept once: it needs ending once.
    void add(int32_t note) {
        if (count_ < Capacity && std::find(begin(), end(), note) == end()) {
            notes_[count_++] = note;
        }
    }

    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    const int32_t* begin() const { return notes_.data(); }
    const int32_t* end() const { return notes_.data() + count_; }

  private:
    std::array<int32_t, Capacity> notes_{};
    std::size_t count_ = 0;
};

} // namespace ladoton
