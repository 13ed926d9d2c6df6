#pragma once

#include <cstdint>
#include <string_view>

namespace ladoton {

// Whether libpipewire of `version` ("0.3.65", as pw_get_library_version gives it) tells a
// stream how many frames the graph wants in each buffer (`pw_buffer::requested`, from 0.3.49
// on). An older library's buffer ends before that field; a version that cannot be read counts
// as older.
bool pipeWireTellsRequestedFrames(std::string_view version);

// The frames to render into a buffer with room for `capacity`: `asked`, where the graph asked
// for some and they fit, or the whole buffer.
uint32_t framesToRender(uint32_t capacity, uint64_t asked);

} // namespace ladoton
