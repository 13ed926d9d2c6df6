// What the built-in synthesizer's PipeWire stream reads of the library it finds at run time.
#include "audio/PipeWireVersion.h"

#include <gtest/gtest.h>

namespace ladoton {
namespace {

TEST(PipeWireVersion, OnlyALibraryFrom0349OnTellsTheFramesAsked) {
    EXPECT_FALSE(pipeWireTellsRequestedFrames("0.3.48")); // Ubuntu 22.04
    EXPECT_TRUE(pipeWireTellsRequestedFrames("0.3.49"));
    EXPECT_TRUE(pipeWireTellsRequestedFrames("0.3.65")); // Debian 12
    EXPECT_TRUE(pipeWireTellsRequestedFrames("0.4.0"));
    EXPECT_TRUE(pipeWireTellsRequestedFrames("1.0.5"));
    EXPECT_FALSE(pipeWireTellsRequestedFrames("0.2.99"));
    for (const char* unreadable : {"", "0.3", "0.3.", "x.3.65", "0,3,65"}) {
        EXPECT_FALSE(pipeWireTellsRequestedFrames(unreadable)) << unreadable;
    }

    EXPECT_EQ(framesToRender(2048, 256), 256U);
    EXPECT_EQ(framesToRender(2048, 0), 2048U) << "nothing asked: the whole buffer";
    EXPECT_EQ(framesToRender(1024, 4096), 1024U) << "more asked than fits";
}

} // namespace
} // namespace ladoton
