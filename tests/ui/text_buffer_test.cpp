// The text views' buffer and selection without a window: line indexing over every kind of
// line end, edits that re-index, and the caret's moves over pairs, CR LF and short lines.
#include <gtest/gtest.h>

#include <string>

#include "ui/text/text_buffer.h"

namespace quenlor::ui {
namespace {

TEST(TextBuffer, LinesEndAtCrLfLfOrCrAndKeepTheirEnds) {
  TextBuffer buffer;
  EXPECT_EQ(buffer.LineCount(), 1u);
  EXPECT_EQ(buffer.Line(0), u"");
  buffer.Assign(u"one\r\ntwo\nthree\rfour\r\n");
  ASSERT_EQ(buffer.LineCount(), 5u);
  EXPECT_EQ(buffer.Line(0), u"one");
  EXPECT_EQ(buffer.Line(1), u"two");
  EXPECT_EQ(buffer.Line(2), u"three");
  EXPECT_EQ(buffer.Line(3), u"four");
  EXPECT_EQ(buffer.Line(4), u"");
  EXPECT_EQ(buffer.Text(), u"one\r\ntwo\nthree\rfour\r\n");
  // A line end belongs to the line it ends.
  EXPECT_EQ(buffer.LineOf(3), 0u);
  EXPECT_EQ(buffer.LineOf(4), 0u);
  EXPECT_EQ(buffer.LineOf(5), 1u);
  EXPECT_EQ(buffer.LineOf(buffer.Size()), 4u);
  // Empty lines between line ends, and LF CR as two ends.
  buffer.Assign(u"\n\r\n\n\r");
  EXPECT_EQ(buffer.LineCount(), 5u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(buffer.Line(i), u"") << i;
}

TEST(TextBuffer, WidestLineCountsTabsToTheNextStopAndPairsAsOneColumn) {
  TextBuffer buffer;
  buffer.Assign(u"ab\tc\r\n\t\t\r\n\U0001F600xyz");
  EXPECT_EQ(buffer.WidestLine(), 16u);
  EXPECT_EQ(TextBuffer::ColumnOf(buffer.Line(0), 3), 8u);
  EXPECT_EQ(TextBuffer::ColumnOf(buffer.Line(2), 2), 1u);
  buffer.Replace(buffer.Size(), buffer.Size(), std::u16string(30, u'w'));
  EXPECT_EQ(buffer.WidestLine(), 34u);
}

TEST(TextBuffer, ReplaceReindexesLinesAroundTheChange) {
  TextBuffer buffer;
  buffer.Assign(u"ab\r\ncd\r\nef");
  // A new line end in the middle, then removing a CR that paired with the LF after it.
  buffer.Replace(5, 5, u"\r\n");
  ASSERT_EQ(buffer.LineCount(), 4u);
  EXPECT_EQ(buffer.Line(1), u"c");
  EXPECT_EQ(buffer.Line(2), u"d");
  buffer.Replace(2, 3, u"");
  EXPECT_EQ(buffer.Text(), u"ab\nc\r\nd\r\nef");
  EXPECT_EQ(buffer.LineCount(), 4u);
  // A CR typed before an LF joins it: one line end, not two.
  buffer.Replace(2, 2, u"\r");
  EXPECT_EQ(buffer.LineCount(), 4u);
  EXPECT_EQ(buffer.Line(0), u"ab");
  // Lines joined; offsets past the text are clamped.
  buffer.Replace(2, 4, u"");
  EXPECT_EQ(buffer.Line(0), u"abc");
  buffer.Replace(100, 200, u"!");
  EXPECT_EQ(buffer.Line(buffer.LineCount() - 1), u"ef!");
}

TEST(TextBuffer, AThreeMegabyteTextIsIndexedLineByLine) {
  std::u16string text;
  for (int i = 0; text.size() < (3u << 20); ++i) text += u"line " + std::u16string(40, u'a' + i % 26) + u"\r\n";
  TextBuffer buffer;
  buffer.Assign(text);
  const std::size_t lines = text.size() / 47;
  ASSERT_EQ(buffer.LineCount(), lines + 1);
  EXPECT_EQ(buffer.Line(lines - 1), u"line " + std::u16string(40, u'a' + (lines - 1) % 26));
  EXPECT_EQ(buffer.LineOf(47 * 1000 + 3), 1000u);
  EXPECT_EQ(buffer.LineStart(lines), text.size());
}

class SelectionTest : public ::testing::Test {
 protected:
  void Load(std::u16string text) { buffer_.Assign(std::move(text)); }
  TextBuffer buffer_;
  TextSelection selection_{buffer_};
  ColumnMeasure columns_{buffer_};
};

TEST_F(SelectionTest, HorizontalMovesStepOverPairsAndCrLfAndCollapseASelection) {
  Load(u"a\U0001F600b\r\nc");
  selection_.Right(false);
  selection_.Right(false);
  EXPECT_EQ(selection_.Caret(), 3u);
  selection_.Right(false);
  selection_.Right(false);
  EXPECT_EQ(selection_.Caret(), 6u);
  selection_.Left(true);
  EXPECT_EQ(selection_.SelectedText(), u"\r\n");
  // Without Shift a selection collapses to its edge first.
  selection_.Left(false);
  EXPECT_EQ(selection_.Caret(), 4u);
  EXPECT_TRUE(selection_.Empty());
  // Positions inside a pair or a CR LF snap to their start.
  selection_.MoveTo(2, false);
  EXPECT_EQ(selection_.Caret(), 1u);
  selection_.MoveTo(5, true);
  EXPECT_EQ(selection_.Caret(), 4u);
  EXPECT_EQ(selection_.SelectedText(), u"\U0001F600b");
  selection_.SelectAll();
  EXPECT_EQ(selection_.SelectedText(), buffer_.Text());
  selection_.DocumentStart(false);
  selection_.Left(false);
  EXPECT_EQ(selection_.Caret(), 0u);
  selection_.DocumentEnd(false);
  selection_.Right(false);
  EXPECT_EQ(selection_.Caret(), buffer_.Size());
}

TEST_F(SelectionTest, VerticalMovesAimForTheColumnWhereTheyBegan) {
  Load(u"0123456789\r\nab\r\n\t9\r\n0123456789");
  selection_.MoveTo(9, false);
  selection_.Vertical(1, false, columns_);
  EXPECT_EQ(selection_.Caret(), 14u);  // the end of the short line
  selection_.Vertical(1, false, columns_);
  EXPECT_EQ(selection_.Caret(), 18u);  // after the tab, column 8 being nearer to 9 than 0
  selection_.Vertical(1, true, columns_);
  EXPECT_EQ(selection_.Caret(), 20u + 9u);
  EXPECT_EQ(selection_.Anchor(), 18u);
  selection_.Vertical(-3, false, columns_);
  EXPECT_EQ(selection_.Caret(), 9u);
  // Past the first and the last line: their start and end.
  selection_.Vertical(-1, false, columns_);
  EXPECT_EQ(selection_.Caret(), 0u);
  selection_.Vertical(100, true, columns_);
  EXPECT_EQ(selection_.Caret(), buffer_.Size());
  EXPECT_EQ(selection_.SelectedText(), buffer_.Text());
  selection_.Home(false);
  EXPECT_EQ(selection_.Caret(), 20u);
  selection_.MoveTo(13, false);
  selection_.End(true);
  EXPECT_EQ(selection_.SelectedText(), u"b");
  // A shorter text leaves no offset past its end.
  Load(u"x");
  selection_.Clamp();
  EXPECT_EQ(selection_.Caret(), 1u);
}

}  // namespace
}  // namespace quenlor::ui
