#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bytes/reader.h"

namespace {

const std::vector<std::uint8_t> kBytes = {0x05, 0x01, 'V', 'T', 0xFE, 0xFF, 0xFF, 0xFF, 'a', 0};

TEST(Reader, ReadsLittleEndianInsideAndMissingOutside) {
    const bytes::Reader r(kBytes);
    EXPECT_EQ(r.I16(0), 261);
    EXPECT_EQ(r.U16(4), 0xFFFE);
    EXPECT_EQ(r.I32(4), -2);
    EXPECT_EQ(r.U32(4), 0xFFFFFFFEu);
    EXPECT_EQ(r.Text(2, 2), "VT");
    EXPECT_EQ(r.Text(8, 2), "a");  // ends at the NUL
    // Anything reaching past the end, or starting before it, is missing.
    EXPECT_EQ(r.I32(7), 0);
    EXPECT_EQ(r.U8(-1), 0);
    EXPECT_EQ(r.Text(9, 2), "");
    EXPECT_TRUE(r.Bytes(8, 3).empty());
    EXPECT_EQ(r.Bytes(8, 2).size(), 2u);
    EXPECT_TRUE(r.Has(10, 0));
    EXPECT_FALSE(r.Has(INT64_MAX, 1));
    EXPECT_FALSE(r.Has(1, INT64_MAX));
    EXPECT_FALSE(r.Has(0, -1));
}

TEST(Cursor, ReadsInOrderAndStaysFailedOnceItRanOut) {
    bytes::Cursor c(kBytes);
    EXPECT_EQ(c.U16(), 261);
    c.Skip(2);
    EXPECT_EQ(c.I32(), -2);
    EXPECT_EQ(c.Remaining(), 2);
    EXPECT_FALSE(c.Failed());
    EXPECT_EQ(c.U32(), 0u);  // two bytes left: missing
    EXPECT_TRUE(c.Failed());
    EXPECT_EQ(c.U8(), 0);  // and nothing after it
    EXPECT_EQ(c.Position(), 8);
}

}  // namespace
