// The text of a text view and where its caret and selection are, without a window: the
// text is kept once, as UTF-16, with the offset of every line's start, so that a view asks
// only for the lines it shows and setting a text costs one pass over it. Portable, so that
// the Linux build tests it too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quenlor::ui {

// Offsets are in UTF-16 code units from the start of the text.
class TextBuffer {
 public:
  TextBuffer() { Assign(u""); }

  // Replaces the text. CR LF, LF and CR each end a line; the line ends stay in the text.
  void Assign(std::u16string text);
  const std::u16string& Text() const { return text_; }
  std::size_t Size() const { return text_.size(); }

  std::size_t LineCount() const { return starts_.size(); }
  std::size_t LineStart(std::size_t line) const { return starts_[line]; }
  // Where the line's characters end, before its line end.
  std::size_t LineEnd(std::size_t line) const;
  std::u16string_view Line(std::size_t line) const;
  // The line holding `offset` (a line end belongs to the line it ends).
  std::size_t LineOf(std::size_t offset) const;
  // The widest line in columns, a tab advancing to the next multiple of kTabColumns, for
  // the horizontal scroll range; after a Replace it may be that of a line since shortened.
  std::size_t WidestLine() const { return widest_; }

  // Replaces [from, to) with `text` (offsets are clamped to the text).
  void Replace(std::size_t from, std::size_t to, std::u16string_view text);

  // The offset one character before or after `offset`: a surrogate pair and a CR LF are
  // one character each.
  std::size_t Previous(std::size_t offset) const;
  std::size_t Next(std::size_t offset) const;

  static constexpr std::size_t kTabColumns = 8;
  // The column at which `index` of `line` starts once tabs are expanded.
  static std::size_t ColumnOf(std::u16string_view line, std::size_t index);

 private:
  void IndexLines(std::size_t from_line);
  std::u16string text_;
  std::vector<std::size_t> starts_;
  std::size_t widest_ = 0;
};

// How a view places text across a line: the x of an offset within its line, and the offset
// of `line` nearest to an x (a character boundary, never past the line end).
class LineMeasure {
 public:
  virtual ~LineMeasure() = default;
  virtual int XOf(std::size_t offset) const = 0;
  virtual std::size_t OffsetAt(std::size_t line, int x) const = 0;
};

// A measure in columns (tabs expanded): the view of a fixed-pitch font.
class ColumnMeasure : public LineMeasure {
 public:
  explicit ColumnMeasure(const TextBuffer& buffer) : buffer_(buffer) {}
  int XOf(std::size_t offset) const override;
  std::size_t OffsetAt(std::size_t line, int x) const override;

 private:
  const TextBuffer& buffer_;
};

// The caret and the selection over a buffer: the selection runs from the anchor to the
// caret. Moves with `extend` keep the anchor (Shift held), others bring it to the caret.
class TextSelection {
 public:
  explicit TextSelection(const TextBuffer& buffer) : buffer_(buffer) {}

  std::size_t Caret() const { return caret_; }
  std::size_t Anchor() const { return anchor_; }
  std::size_t Start() const { return caret_ < anchor_ ? caret_ : anchor_; }
  std::size_t End() const { return caret_ < anchor_ ? anchor_ : caret_; }
  bool Empty() const { return caret_ == anchor_; }
  std::u16string SelectedText() const;

  // Puts the caret at `offset` (clamped, and moved off the middle of a CR LF or a pair).
  void MoveTo(std::size_t offset, bool extend);
  void SelectAll();
  void Left(bool extend);
  void Right(bool extend);
  // Up or down `lines` lines (negative: up), aiming for the x where the vertical moves
  // began, as `measure` places it.
  void Vertical(long lines, bool extend, const LineMeasure& measure);
  void Home(bool extend);
  void End(bool extend);
  void DocumentStart(bool extend);
  void DocumentEnd(bool extend);
  // After the buffer changed: offsets kept within it.
  void Clamp();

 private:
  void Set(std::size_t offset, bool extend);
  std::size_t Snap(std::size_t offset) const;
  const TextBuffer& buffer_;
  std::size_t caret_ = 0;
  std::size_t anchor_ = 0;
  // The column vertical moves aim for; negative when the last move was not vertical.
  int goal_column_ = -1;
};

}  // namespace quenlor::ui
