#include "ui/text/text_buffer.h"

#include <algorithm>

namespace quenlor::ui {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

void TextBuffer::Assign(std::u16string text) {
  text_ = std::move(text);
  starts_.assign(1, 0);
  widest_ = 0;
  IndexLines(0);
}

// Indexes the lines from `from_line` (whose start is known) to the end of the text.
void TextBuffer::IndexLines(std::size_t from_line) {
  starts_.resize(from_line + 1);
  const char16_t* data = text_.data();
  const std::size_t size = text_.size();
  std::size_t line_start = starts_.back();
  std::size_t columns = 0;
  for (std::size_t i = line_start; i < size; ++i) {
    const char16_t c = data[i];
    if (c == u'\t') {
      columns += kTabColumns - columns % kTabColumns;
    } else if (c == u'\n' || c == u'\r') {
      if (c == u'\r' && i + 1 < size && data[i + 1] == u'\n') ++i;
      widest_ = std::max(widest_, columns);
      columns = 0;
      line_start = i + 1;
      starts_.push_back(line_start);
    } else if (!IsLowSurrogate(c)) {
      ++columns;
    }
  }
  widest_ = std::max(widest_, columns);
}

std::size_t TextBuffer::LineEnd(std::size_t line) const {
  if (line + 1 >= starts_.size()) return text_.size();
  std::size_t end = starts_[line + 1];
  if (end > starts_[line] && text_[end - 1] == u'\n') --end;
  if (end > starts_[line] && text_[end - 1] == u'\r') --end;
  return end;
}

std::u16string_view TextBuffer::Line(std::size_t line) const {
  const std::size_t start = starts_[line];
  return std::u16string_view(text_).substr(start, LineEnd(line) - start);
}

std::size_t TextBuffer::LineOf(std::size_t offset) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

void TextBuffer::Replace(std::size_t from, std::size_t to, std::u16string_view text) {
  to = std::min(to, text_.size());
  from = std::min(from, to);
  // A CR just before the change may have ended a line together with an LF it loses or
  // gains, so the index is rebuilt from the line before the change. The widest line is
  // not searched again: a scroll range a little too wide after a deletion does no harm.
  std::size_t line = LineOf(from);
  if (line > 0) --line;
  text_.replace(from, to - from, text);
  IndexLines(line);
}

std::size_t TextBuffer::Previous(std::size_t offset) const {
  if (offset == 0) return 0;
  offset = std::min(offset, text_.size());
  --offset;
  if (offset > 0 && text_[offset] == u'\n' && text_[offset - 1] == u'\r') --offset;
  else if (offset > 0 && IsLowSurrogate(text_[offset]) && IsHighSurrogate(text_[offset - 1])) --offset;
  return offset;
}

std::size_t TextBuffer::Next(std::size_t offset) const {
  if (offset >= text_.size()) return text_.size();
  const char16_t c = text_[offset];
  ++offset;
  if (offset < text_.size() && ((c == u'\r' && text_[offset] == u'\n') ||
                                (IsHighSurrogate(c) && IsLowSurrogate(text_[offset]))))
    ++offset;
  return offset;
}

std::size_t TextBuffer::ColumnOf(std::u16string_view line, std::size_t index) {
  std::size_t columns = 0;
  index = std::min(index, line.size());
  for (std::size_t i = 0; i < index; ++i) {
    if (line[i] == u'\t') columns += kTabColumns - columns % kTabColumns;
    else if (!IsLowSurrogate(line[i])) ++columns;
  }
  return columns;
}

int ColumnMeasure::XOf(std::size_t offset) const {
  const std::size_t line = buffer_.LineOf(offset);
  return static_cast<int>(TextBuffer::ColumnOf(buffer_.Line(line), offset - buffer_.LineStart(line)));
}

std::size_t ColumnMeasure::OffsetAt(std::size_t line, int x) const {
  const std::u16string_view text = buffer_.Line(line);
  std::size_t columns = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLowSurrogate(text[i])) continue;
    const std::size_t next = text[i] == u'\t' ? columns + TextBuffer::kTabColumns - columns % TextBuffer::kTabColumns
                                              : columns + 1;
    // The nearer boundary of the character under x.
    if (static_cast<long>(2 * x) < static_cast<long>(columns + next)) return buffer_.LineStart(line) + i;
    columns = next;
  }
  return buffer_.LineStart(line) + text.size();
}

std::u16string TextSelection::SelectedText() const {
  return buffer_.Text().substr(Start(), End() - Start());
}

std::size_t TextSelection::Snap(std::size_t offset) const {
  const std::u16string& text = buffer_.Text();
  offset = std::min(offset, text.size());
  if (offset > 0 && offset < text.size() &&
      ((text[offset - 1] == u'\r' && text[offset] == u'\n') ||
       (IsHighSurrogate(text[offset - 1]) && IsLowSurrogate(text[offset]))))
    --offset;
  return offset;
}

void TextSelection::Set(std::size_t offset, bool extend) {
  caret_ = Snap(offset);
  if (!extend) anchor_ = caret_;
}

void TextSelection::MoveTo(std::size_t offset, bool extend) {
  goal_column_ = -1;
  Set(offset, extend);
}

void TextSelection::SelectAll() {
  goal_column_ = -1;
  anchor_ = 0;
  caret_ = buffer_.Size();
}

void TextSelection::Left(bool extend) {
  // Without Shift an existing selection collapses to its start, as edit boxes do.
  if (!extend && !Empty()) return MoveTo(Start(), false);
  MoveTo(buffer_.Previous(caret_), extend);
}

void TextSelection::Right(bool extend) {
  if (!extend && !Empty()) return MoveTo(End(), false);
  MoveTo(buffer_.Next(caret_), extend);
}

void TextSelection::Vertical(long lines, bool extend, const LineMeasure& measure) {
  if (goal_column_ < 0) goal_column_ = measure.XOf(caret_);
  const long last = static_cast<long>(buffer_.LineCount()) - 1;
  const long from = static_cast<long>(buffer_.LineOf(caret_));
  const long to = std::clamp(from + lines, 0L, last);
  // Past the first or last line the caret goes to that line's start or end.
  if (from + lines < 0) Set(0, extend);
  else if (from + lines > last) Set(buffer_.Size(), extend);
  else Set(measure.OffsetAt(static_cast<std::size_t>(to), goal_column_), extend);
}

void TextSelection::Home(bool extend) { MoveTo(buffer_.LineStart(buffer_.LineOf(caret_)), extend); }
void TextSelection::End(bool extend) { MoveTo(buffer_.LineEnd(buffer_.LineOf(caret_)), extend); }
void TextSelection::DocumentStart(bool extend) { MoveTo(0, extend); }
void TextSelection::DocumentEnd(bool extend) { MoveTo(buffer_.Size(), extend); }

void TextSelection::Clamp() {
  caret_ = Snap(caret_);
  anchor_ = Snap(anchor_);
}

}  // namespace quenlor::ui
