#include "ui/components/theme_ctrls.h"

#include <cstdint>
#include <limits>

namespace quenlor::ui {

namespace {
// The conversion of a whole text to a 32-bit integer: leading blanks, a sign, decimal
// digits or a "$" / "0x" hexadecimal number, nothing after them.
bool ToInt32(std::string_view text, std::int32_t& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  std::uint64_t v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    const int digit = HexDigitValue(c);
    if (digit < 0 || digit >= base) return false;
    v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (base == 10) {
    const std::uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    if (v > limit) return false;
    value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(v)) : static_cast<std::int32_t>(v);
  } else {
    // Hexadecimal numbers fill the 32 bits, as the platform's conversions read them.
    const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(bits)) : bits;
  }
  return true;
}
}  // namespace

std::string DisplayField(std::string_view text, int index, char separator) {
  std::string field(ItemField(text, index, separator));
  std::int32_t value = 0;
  if (ToInt32(field, value) && value != -1) return std::to_string(value);
  return field;
}

namespace {

constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS;

// The item background: plain, selected with the focus, or selected without it.
void PaintBackground(TCanvas& canvas, RECT rect, bool selected, bool focused, TColor color) {
  if (!selected) {
    canvas.FillRect(rect, color);
  } else if (focused) {
    canvas.FillRect(rect, clHighlight);
    InflateRect(&rect, -1, -1);
    canvas.FillRect(rect, Blend(clHighlight, clWindow, 33));
  } else {
    canvas.FrameRect(rect, Blend(clHighlight, clWindow, 66));
    InflateRect(&rect, -1, -1);
    canvas.FillRect(rect, color);
  }
}

void DrawField(TCanvas& canvas, const std::string& text, RECT rect) {
  canvas.DrawString(text, rect, kTextFormat);
}

}  // namespace

TListRowsTheme::TListRowsTheme(TComponent* owner, int rows) : TThemeComponent(owner), rows_(rows < 0 ? 1 : rows) {
  auto* list = dynamic_cast<TListBox*>(owner);
  if (!list) return;
  list->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
  list->SetItemHeight(rows_ * kRowHeight);
  list->OnDrawItem = [this, list](TControl*, int index, const RECT& rect, TOwnerDrawState state, TCanvas& canvas) {
    DrawItem(*list, index, rect, state, canvas);
  };
}

void TListRowsTheme::DrawItem(TListBox& list, int index, const RECT& item, TOwnerDrawState state, TCanvas& canvas) {
  PaintBackground(canvas, item, state & odSelected, list.Focused(), list.Color());
  TFont font = list.Font();
  font.SetColor(clWindowText);
  canvas.SetFont(font);
  const std::string text = index >= 0 && index < static_cast<int>(list.Items().size())
                               ? list.Items()[static_cast<std::size_t>(index)] : std::string();
  RECT r{item.left + 3, item.top, item.right - 3, item.top + kRowHeight};
  for (int row = 0; row < rows_; ++row) {
    if (row == 0) {
      TFont bold = font;
      bold.SetStyle(font.Style() | fsBold);
      canvas.SetFont(bold);
      DrawField(canvas, DisplayField(text, 0), r);
      canvas.SetFont(font);
      r.left += 10;
      r.top += 2;
    } else {
      DrawField(canvas, DisplayField(text, row), r);
    }
    OffsetRect(&r, 0, r.bottom - r.top);
  }
  // Nothing the list box draws for this item afterwards (its focus rectangle) shows.
  ExcludeClipRect(canvas.Handle(), item.left, item.top, item.right, item.bottom);
}

int TComboBoxTheme::EditHeight() {
  static const int height = [] {
    // A single-line edit box in the desktop font is as high as the font's text plus its
    // sunken border.
    WindowDc screen(nullptr);
    TCanvas canvas(screen.get());
    canvas.SetFont(TFont::DesktopFont());
    TEXTMETRICW metrics{};
    GetTextMetricsW(canvas.Handle(), &metrics);
    return static_cast<int>(metrics.tmHeight) + GetSystemMetrics(SM_CYBORDER) * 8;
  }();
  return height;
}

TComboBoxTheme::TComboBoxTheme(TComponent* owner, std::vector<int> column_widths)
    : TThemeComponent(owner), widths_(std::move(column_widths)) {
  auto* combo = dynamic_cast<TComboBox*>(owner);
  if (!combo) return;
  combo->SetStyle(TComboBoxStyle::csOwnerDrawFixed);
  combo->SetItemHeight(EditHeight() - 6);
  combo->OnDrawItem = [this, combo](TControl*, int index, const RECT& rect, TOwnerDrawState state, TCanvas& canvas) {
    DrawItem(*combo, index, rect, state, canvas);
  };
}

void TComboBoxTheme::SetColumnWidths(std::vector<int> widths) {
  widths_ = std::move(widths);
  if (auto* combo = dynamic_cast<TComboBox*>(Owner())) combo->Invalidate();
}

void TComboBoxTheme::DrawItem(TComboBox& combo, int index, const RECT& item, TOwnerDrawState state,
                              TCanvas& canvas) {
  PaintBackground(canvas, item, state & odSelected, state & odFocused, combo.Color());
  TFont font = combo.Font();
  font.SetColor(clWindowText);
  canvas.SetFont(font);
  const std::string text = index >= 0 && index < static_cast<int>(combo.Items().size())
                               ? combo.Items()[static_cast<std::size_t>(index)] : std::string();
  HDC dc = canvas.Handle();
  if (widths_.empty()) {
    DrawField(canvas, text, {item.left + 3, item.top, item.right - 3, item.bottom});
  } else {
    Pen pen(CreatePen(PS_SOLID, 0, Blend(cl3DDkShadow, clBtnFace, 33)));
    SelectGuard select(dc, pen.get());
    int x = item.left + 3;
    for (std::size_t i = 0; i < widths_.size(); ++i) {
      const bool last = i + 1 == widths_.size();
      const int right = last ? item.right - 3 : std::min<int>(x + widths_[i] - 6, item.right - 3);
      DrawField(canvas, DisplayField(text, static_cast<int>(i)), {x, item.top, right, item.bottom});
      if (last) break;
      const int line = x + widths_[i];
      MoveToEx(dc, line, item.top, nullptr);
      LineTo(dc, line, item.bottom);
      x = line + 3;
      if (x > item.right) break;
    }
    if (index == static_cast<int>(combo.Items().size()) - 1) {
      MoveToEx(dc, item.left, item.bottom - 1, nullptr);
      LineTo(dc, item.right, item.bottom - 1);
    }
  }
  ExcludeClipRect(dc, item.left, item.top, item.right, item.bottom);
}

}  // namespace quenlor::ui
