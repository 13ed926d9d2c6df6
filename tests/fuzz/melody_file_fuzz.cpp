// The melody-file reader on arbitrary bytes: read whole, and read through a source that
// hands them out in pieces of varying size, as a pipe would. Both readings must agree,
// and whatever is accepted must write back to the bytes it came from.
#include "melody/MelodyFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace ladoton;

namespace {
void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The accepted prefix of the input with the fields a reader ignores set to zero.
std::vector<uint8_t> cleaned(std::span<const uint8_t> input, std::size_t records) {
    std::vector<uint8_t> bytes(
        input.begin(), input.begin() + static_cast<std::ptrdiff_t>(melodyFileLength(records)));
    for (std::size_t i = 0; i < records; ++i) {
        uint8_t* record = bytes.data() + MelodyFileHeaderSize + i * MelodyFileRecordSize;
        std::memset(record + 4, 0, 8);
        std::memset(record + 13, 0, 3);
    }
    return bytes;
}

std::optional<std::vector<MelodyEvent>> readInPieces(std::span<const uint8_t> input) {
    std::span<const uint8_t> rest = input;
    std::size_t turn = 0;
    const ByteSource pieces = [&](std::span<uint8_t> buffer) {
        const std::size_t want = 1 + (turn++ * 7919 + input.size()) % 97;
        const std::size_t taken = std::min({buffer.size(), rest.size(), want});
        std::copy_n(rest.begin(), taken, buffer.begin());
        rest = rest.subspan(taken);
        return taken;
    };
    return readMelodyFile(pieces);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> input(data, size);
    const std::optional<std::vector<MelodyEvent>> whole = readMelodyFile(input);
    const std::optional<std::vector<MelodyEvent>> piecewise = readInPieces(input);
    require(whole.has_value() == piecewise.has_value());
    if (!whole) {
        return 0;
    }
    require(melodyFileLength(whole->size()) <= size);
    const std::vector<uint8_t> written = melodyFileBytes(*whole);
    require(written == cleaned(input, whole->size()));
    require(melodyFileBytes(*piecewise) == written);
    return 0;
}
