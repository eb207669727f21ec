#include "engine/PageFetch.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

size_t Append(PageBuffer* buffer, std::string chunk) {
    return AppendChunk(chunk.data(), 1, chunk.size(), buffer);
}

TEST(AppendChunk, ZeroByteDropsTheRestOfItsChunkOnly) {
    PageBuffer buffer;
    EXPECT_EQ(Append(&buffer, std::string("ab\0cd", 5)), 5u);
    EXPECT_EQ(Append(&buffer, "ef"), 2u);
    EXPECT_EQ(Append(&buffer, std::string("\0g", 2)), 2u);
    EXPECT_EQ(buffer.bytes, "abef");
}

TEST(AppendChunk, SizeTimesCountAndNoBuffer) {
    PageBuffer buffer;
    char data[] = "abcdef";
    EXPECT_EQ(AppendChunk(data, 2, 3, &buffer), 6u);
    EXPECT_EQ(buffer.bytes, "abcdef");
    EXPECT_EQ(AppendChunk(data, 1, 6, nullptr), 0u);  // aborts the transfer
}

TEST(AppendChunk, BodyOverTheLimitIsAbandoned) {
    PageBuffer buffer;
    buffer.limit = 8;
    EXPECT_EQ(Append(&buffer, "12345"), 5u);
    EXPECT_EQ(Append(&buffer, "678"), 3u);
    EXPECT_EQ(Append(&buffer, "9"), 0u);
    EXPECT_TRUE(buffer.overflowed);
    EXPECT_TRUE(buffer.bytes.empty());
    EXPECT_EQ(Append(&buffer, "x"), 0u);
}

}  // namespace
}  // namespace vantrel
