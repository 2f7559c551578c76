// The reader's bounds-checked cursor: every parser trusts it to refuse what lies outside
// its bytes, whatever offsets and lengths a damaged file holds, and to stay failed once a
// read has failed.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "typelib/reader/bytes.h"
#include "typelib/reader/failure.h"

namespace quenlor::typelib::reader {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

const std::vector<std::uint8_t> kData = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 'a', 'b', 0x00, 'c'};

TEST(CursorTest, ReadsLittleEndianUpToTheLastByte) {
  Cursor c(kData);
  EXPECT_EQ(c.U16(), 0x0201);
  EXPECT_EQ(c.U32(), 0x06050403u);
  EXPECT_EQ(c.U8(), 0x07);
  EXPECT_EQ(c.position(), 7u);
  c.Seek(0);
  EXPECT_EQ(c.U64(), 0x0807060504030201ull);
  c.Seek(8);
  EXPECT_EQ(c.Text(4), std::string("ab\0c", 4));
  EXPECT_TRUE(c.ok());
  EXPECT_EQ(c.remaining(), 0u);
  c.Seek(kData.size());  // the end itself is a valid position with nothing to read
  EXPECT_TRUE(c.ok());
  EXPECT_EQ(c.U8(), 0);
  EXPECT_FALSE(c.ok());
}

TEST(CursorTest, ReadsThatDoNotFitFailWithoutMoving) {
  for (std::uint64_t at = 9; at <= kData.size(); ++at) {
    Cursor c(kData, at);
    EXPECT_EQ(c.U32(), 0u) << at;
    EXPECT_FALSE(c.ok()) << at;
    // A failure's offset is where the read that failed began.
    EXPECT_EQ(c.position(), at);
  }
  Cursor wide(kData, 4);
  EXPECT_TRUE(wide.Span(9).empty());
  EXPECT_FALSE(wide.ok());
  EXPECT_EQ(wide.position(), 4u);

  Cursor outside(kData, kData.size() + 1);
  EXPECT_FALSE(outside.ok());
  EXPECT_EQ(outside.remaining(), 0u);
  Cursor seek(kData);
  seek.Seek(kData.size() + 1);
  EXPECT_FALSE(seek.ok());
}

TEST(CursorTest, OffsetPlusLengthNeverWrapsAround) {
  EXPECT_TRUE(InRange(0, 12, 12));
  EXPECT_TRUE(InRange(12, 0, 12));
  EXPECT_FALSE(InRange(13, 0, 12));
  EXPECT_FALSE(InRange(4, kMax, 12));
  EXPECT_FALSE(InRange(kMax, 2, 12));
  EXPECT_FALSE(InRange(kMax - 1, 2, kMax));
  EXPECT_TRUE(InRange(kMax - 2, 2, kMax));

  // Lengths that would carry the position past 2^64 back into the data.
  Cursor skip(kData, 4);
  skip.Skip(kMax - 2);
  EXPECT_FALSE(skip.ok());
  Cursor span(kData, 4);
  EXPECT_TRUE(span.Span(kMax).empty());
  EXPECT_FALSE(span.ok());
  Cursor text(kData, 1);
  EXPECT_TRUE(text.Text(kMax).empty());
  EXPECT_FALSE(text.ok());
  Cursor seek(kData);
  seek.Seek(kMax);
  EXPECT_FALSE(seek.ok());
}

TEST(CursorTest, FailureIsSticky) {
  Cursor c(kData, 10);
  c.U32();
  ASSERT_FALSE(c.ok());
  // Reads that would fit after the failure still yield nothing, so a record read field by
  // field with one check at the end is never half-trusted.
  EXPECT_EQ(c.U8(), 0);
  c.Seek(0);
  EXPECT_EQ(c.U16(), 0);
  EXPECT_TRUE(c.Span(1).empty());
  EXPECT_TRUE(c.UntilNul().empty());
  EXPECT_FALSE(c.ok());

  Cursor failed(kData);
  failed.Fail();
  EXPECT_EQ(failed.U8(), 0);
  EXPECT_FALSE(failed.ok());
}

TEST(CursorTest, UntilNulNeedsTheTerminator) {
  Cursor c(kData, 8);
  const Bytes word = c.UntilNul();
  EXPECT_EQ(std::string(word.begin(), word.end()), "ab");
  EXPECT_EQ(c.position(), 11u);  // past the NUL
  EXPECT_TRUE(c.ok());
  // "c" runs to the end without one.
  EXPECT_TRUE(c.UntilNul().empty());
  EXPECT_FALSE(c.ok());

  Cursor empty(kData, 10);
  EXPECT_TRUE(empty.UntilNul().empty());
  EXPECT_TRUE(empty.ok());
  Cursor end(kData, kData.size());
  end.UntilNul();
  EXPECT_FALSE(end.ok());
}

TEST(CursorTest, FailureOffsetsAreInTheImage) {
  const Bytes image(kData);
  const Bytes part = image.subspan(4, 6);
  Cursor c(part, 2);
  EXPECT_EQ(ImageOffset(image, c), 6u);
  EXPECT_EQ(ImageOffset(image, part, 5), 9u);
  // A view of other memory (an empty table, a parser's own buffer) keeps its own position.
  const std::uint8_t own[2] = {0, 0};
  EXPECT_EQ(ImageOffset(image, Bytes(own, 2), 1), 1u);
  EXPECT_EQ(ImageOffset(image, Bytes(), 3), 3u);
}

}  // namespace
}  // namespace quenlor::typelib::reader
