#include "ui/components/text_view.h"

#include <windowsx.h>

#include <algorithm>

#include "base/text.h"
#include "base/win32/wide_text.h"

namespace quenlor::ui {

namespace {

constexpr int kMargin = 2;  // between the box's left edge and the text

bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

// The view's own placement of text for the moves that need it (up, down, page).
class TTextView::Measure : public LineMeasure {
 public:
  Measure(const TTextView& view, HDC dc) : view_(view), dc_(dc) {}
  int XOf(std::size_t offset) const override {
    const std::size_t line = view_.buffer_.LineOf(offset);
    const LineGeometry geometry = view_.LayOutLine(dc_, line);
    return geometry.edges[offset - view_.buffer_.LineStart(line)];
  }
  std::size_t OffsetAt(std::size_t line, int x) const override {
    const LineGeometry geometry = view_.LayOutLine(dc_, line);
    const std::vector<int>& edges = geometry.edges;
    std::size_t index = 0;
    while (index + 1 < edges.size() && x >= (edges[index] + edges[index + 1] + 1) / 2) ++index;
    return view_.buffer_.LineStart(line) + index;
  }

 private:
  const TTextView& view_;
  HDC dc_;
};

TTextView::TTextView(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  SetBoundsInternal(0, 0, 185, 89);
  SetColor(clWindow);
  SetDoubleBuffered(true);
}

void TTextView::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.style = WS_TABSTOP | WS_VSCROLL | WS_HSCROLL;
  params.ex_style = border_ ? WS_EX_CLIENTEDGE : 0;
}

void TTextView::CreateWnd() {
  UpdateMetrics();
  UpdateScrollBars();
}

std::string TTextView::Text() const { return Utf16ToUtf8(buffer_.Text()); }

void TTextView::SetText(std::string_view text) {
  buffer_.Assign(Utf8ToUtf16(text));
  selection_.MoveTo(0, false);
  top_line_ = 0;
  x_offset_ = 0;
  UpdateScrollBars();
  PlaceCaret();
  Invalidate();
  Changed();
}

void TTextView::SetBorder(bool border) {
  if (border == border_) return;
  border_ = border;
  RecreateWnd();
}

void TTextView::Select(std::size_t anchor, std::size_t caret) {
  selection_.MoveTo(anchor, false);
  selection_.MoveTo(caret, true);
  CaretMoved();
}

void TTextView::SelectAll() {
  selection_.SelectAll();
  PlaceCaret();
  Invalidate();
}

void TTextView::CopyToClipboard() {
  if (selection_.Empty()) return;
  const std::u16string text = selection_.SelectedText();
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return;
  if (void* data = GlobalLock(memory)) {
    std::copy(text.begin(), text.end(), static_cast<char16_t*>(data));
    static_cast<char16_t*>(data)[text.size()] = u'\0';
    GlobalUnlock(memory);
  }
  if (OpenClipboard(HandleIfCreated())) {
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory)) memory = nullptr;  // the clipboard owns it now
    CloseClipboard();
  }
  if (memory) GlobalFree(memory);
}

std::size_t TTextView::VisibleLines() {
  return static_cast<std::size_t>(std::max(1, ClientHeight() / std::max(1, line_height_)));
}

TTextView::LineGeometry TTextView::LayOutLine(HDC dc, std::size_t line) const {
  LineGeometry geometry;
  geometry.top = static_cast<int>(static_cast<long>(line) - static_cast<long>(top_line_)) * line_height_;
  const std::u16string_view text = buffer_.Line(line);
  geometry.edges.resize(text.size() + 1);
  const int left = kMargin - x_offset_;
  const int tab = std::max(1, char_width_ * static_cast<int>(TextBuffer::kTabColumns));
  std::vector<int> extents;
  int x = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == u'\t') {
      geometry.edges[i] = left + x;
      x = (x / tab + 1) * tab;
      ++i;
      continue;
    }
    std::size_t run = i;
    while (run < text.size() && text[run] != u'\t') ++run;
    const int count = static_cast<int>(run - i);
    extents.resize(static_cast<std::size_t>(count));
    SIZE size{};
    GetTextExtentExPointW(dc, reinterpret_cast<const wchar_t*>(text.data() + i), count, 0, nullptr,
                          extents.data(), &size);
    for (int k = 0; k < count; ++k) {
      geometry.edges[i + static_cast<std::size_t>(k)] = left + x + (k == 0 ? 0 : extents[static_cast<std::size_t>(k - 1)]);
    }
    x += size.cx;
    i = run;
  }
  geometry.edges[text.size()] = left + x;
  // The second half of a surrogate pair sits where its first half does.
  for (std::size_t k = 1; k < text.size(); ++k)
    if (IsLowSurrogate(static_cast<wchar_t>(text[k]))) geometry.edges[k] = geometry.edges[k - 1];
  return geometry;
}

std::size_t TTextView::HitTest(int x, int y) const {
  const long line = std::clamp(static_cast<long>(top_line_) + (y < 0 ? (y - line_height_ + 1) : y) / line_height_, 0L,
                               static_cast<long>(buffer_.LineCount()) - 1);
  WindowDc screen(nullptr);
  SelectGuard font(screen.get(), Font().Handle());
  return Measure(*this, screen.get()).OffsetAt(static_cast<std::size_t>(line), x);
}

void TTextView::Paint(TCanvas& canvas) {
  HDC dc = canvas.Handle();
  RECT client{};
  GetClientRect(HandleIfCreated(), &client);
  SelectGuard font(dc, Font().Handle());
  SetBkMode(dc, OPAQUE);
  const COLORREF back = ColorToRGB(Color()), fore = ColorToRGB(Font().Color());
  const COLORREF sel_back = ColorToRGB(clHighlight), sel_fore = ColorToRGB(clHighlightText);
  const std::size_t first = top_line_;
  const std::size_t last = std::min(buffer_.LineCount(), first + static_cast<std::size_t>(client.bottom / line_height_) + 2);
  const std::size_t sel_start = selection_.Start(), sel_end = selection_.End();
  const auto draw_runs = [&](const LineGeometry& geometry, std::u16string_view text, const RECT& clip) {
    std::size_t i = 0;
    while (i < text.size()) {
      if (text[i] == u'\t') {
        ++i;
        continue;
      }
      std::size_t run = i;
      while (run < text.size() && text[run] != u'\t') ++run;
      ExtTextOutW(dc, geometry.edges[i], geometry.top, ETO_CLIPPED, &clip,
                  reinterpret_cast<const wchar_t*>(text.data() + i), static_cast<UINT>(run - i), nullptr);
      i = run;
    }
  };
  for (std::size_t line = first; line < last; ++line) {
    const LineGeometry geometry = LayOutLine(dc, line);
    const std::u16string_view text = buffer_.Line(line);
    const RECT row{0, geometry.top, client.right, geometry.top + line_height_};
    SetBkColor(dc, back);
    SetTextColor(dc, fore);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &row, nullptr, 0, nullptr);
    draw_runs(geometry, text, row);
    const std::size_t start = buffer_.LineStart(line);
    const std::size_t end = start + text.size();
    const bool line_end_selected = line + 1 < buffer_.LineCount() && sel_start <= end && sel_end > end;
    if (sel_end <= sel_start || sel_end <= start || sel_start > end || (sel_start == end && !line_end_selected)) continue;
    const std::size_t from = std::max(sel_start, start) - start;
    const std::size_t to = std::min(sel_end, end) - start;
    RECT marked = row;
    marked.left = geometry.edges[from];
    marked.right = geometry.edges[to];
    // A selected line end shows as a space's width of highlight.
    if (line_end_selected) marked.right += char_width_;
    if (marked.right <= marked.left) continue;
    SetBkColor(dc, sel_back);
    SetTextColor(dc, sel_fore);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &marked, nullptr, 0, nullptr);
    draw_runs(geometry, text, marked);
  }
  if (last - first < static_cast<std::size_t>(client.bottom / line_height_) + 2) {
    RECT rest = client;
    rest.top = static_cast<int>(last - first) * line_height_;
    if (rest.top < rest.bottom) {
      SetBkColor(dc, back);
      ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rest, nullptr, 0, nullptr);
    }
  }
}

void TTextView::UpdateMetrics() {
  WindowDc screen(nullptr);
  SelectGuard font(screen.get(), Font().Handle());
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.get(), &metrics);
  line_height_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
  char_width_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
}

void TTextView::FontChanged() {
  UpdateMetrics();
  UpdateScrollBars();
  PlaceCaret();
}

void TTextView::Resize() {
  UpdateScrollBars();
  TControl::Resize();
}

void TTextView::UpdateScrollBars() {
  HWND w = HandleIfCreated();
  if (!w) return;
  RECT client{};
  GetClientRect(w, &client);
  const long visible = std::max(1L, static_cast<long>(client.bottom / line_height_));
  SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, static_cast<int>(buffer_.LineCount()) - 1,
                  static_cast<UINT>(visible), static_cast<int>(top_line_), 0};
  SetScrollInfo(w, SB_VERT, &info, TRUE);
  const int width = kMargin + static_cast<int>(buffer_.WidestLine() + 1) * char_width_;
  SCROLLINFO horizontal{sizeof horizontal, SIF_ALL, 0, width - 1, static_cast<UINT>(std::max(1L, static_cast<long>(client.right))),
                        x_offset_, 0};
  SetScrollInfo(w, SB_HORZ, &horizontal, TRUE);
}

void TTextView::ScrollTo(long top_line, int x_offset) {
  HWND w = HandleIfCreated();
  RECT client{};
  if (w) GetClientRect(w, &client);
  const long visible = std::max(1L, static_cast<long>(client.bottom / line_height_));
  const long last_top = std::max(0L, static_cast<long>(buffer_.LineCount()) - visible);
  top_line = std::clamp(top_line, 0L, last_top);
  const int widest = kMargin + static_cast<int>(buffer_.WidestLine() + 1) * char_width_;
  x_offset = std::clamp(x_offset, 0, std::max(0, widest - static_cast<int>(client.right)));
  if (static_cast<std::size_t>(top_line) == top_line_ && x_offset == x_offset_) return;
  top_line_ = static_cast<std::size_t>(top_line);
  x_offset_ = x_offset;
  UpdateScrollBars();
  PlaceCaret();
  Invalidate();
}

void TTextView::ScrollMessage(int bar, WORD code) {
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(HandleIfCreated(), bar, &info);
  const bool vertical = bar == SB_VERT;
  const int line = vertical ? 1 : char_width_;
  const int page = std::max(1, static_cast<int>(info.nPage) - (vertical ? 1 : 0));
  long pos = info.nPos;
  switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;  // 32 bits, unlike the message's
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
  }
  if (vertical) ScrollTo(pos, x_offset_);
  else ScrollTo(static_cast<long>(top_line_), static_cast<int>(pos));
}

void TTextView::PlaceCaret() {
  HWND w = HandleIfCreated();
  if (!w || GetFocus() != w) return;
  WindowDc screen(nullptr);
  SelectGuard font(screen.get(), Font().Handle());
  const std::size_t caret = selection_.Caret();
  const std::size_t line = buffer_.LineOf(caret);
  const LineGeometry geometry = LayOutLine(screen.get(), line);
  SetCaretPos(geometry.edges[caret - buffer_.LineStart(line)], geometry.top);
}

void TTextView::CaretMoved() {
  HWND w = HandleIfCreated();
  RECT client{};
  if (w) GetClientRect(w, &client);
  const long visible = std::max(1L, static_cast<long>(client.bottom / line_height_));
  const long line = static_cast<long>(buffer_.LineOf(selection_.Caret()));
  long top = static_cast<long>(top_line_);
  if (line < top) top = line;
  else if (line >= top + visible) top = line - visible + 1;
  int x_offset = x_offset_;
  {
    WindowDc screen(nullptr);
    SelectGuard font(screen.get(), Font().Handle());
    const LineGeometry geometry = LayOutLine(screen.get(), static_cast<std::size_t>(line));
    const int x = geometry.edges[selection_.Caret() - buffer_.LineStart(static_cast<std::size_t>(line))] + x_offset_;
    if (x - kMargin < x_offset) x_offset = std::max(0, x - kMargin - static_cast<int>(client.right) / 4);
    else if (x + char_width_ > x_offset + client.right) x_offset = x + char_width_ - static_cast<int>(client.right) * 3 / 4;
  }
  ScrollTo(top, x_offset);
  PlaceCaret();
  Invalidate();
}

bool TTextView::KeyDown(WPARAM key) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool control = GetKeyState(VK_CONTROL) < 0;
  WindowDc screen(nullptr);
  SelectGuard font(screen.get(), Font().Handle());
  const Measure measure(*this, screen.get());
  const long page = static_cast<long>(VisibleLines());
  switch (key) {
    case VK_LEFT: selection_.Left(shift); break;
    case VK_RIGHT: selection_.Right(shift); break;
    case VK_UP: selection_.Vertical(-1, shift, measure); break;
    case VK_DOWN: selection_.Vertical(1, shift, measure); break;
    case VK_PRIOR:
      ScrollTo(static_cast<long>(top_line_) - page, x_offset_);
      selection_.Vertical(-page, shift, measure);
      break;
    case VK_NEXT:
      ScrollTo(static_cast<long>(top_line_) + page, x_offset_);
      selection_.Vertical(page, shift, measure);
      break;
    case VK_HOME:
      if (control) selection_.DocumentStart(shift);
      else selection_.Home(shift);
      break;
    case VK_END:
      if (control) selection_.DocumentEnd(shift);
      else selection_.End(shift);
      break;
    case VK_INSERT:
      if (!control) return false;
      CopyToClipboard();
      return true;
    case VK_DELETE:
      if (selection_.Empty()) selection_.Right(true);
      Type(u"");
      return true;
    default: return false;
  }
  CaretMoved();
  return true;
}

void TTextView::Type(std::u16string_view text) {
  const std::size_t start = selection_.Start();
  buffer_.Replace(start, selection_.End(), text);
  selection_.MoveTo(start + text.size(), false);
  UpdateScrollBars();
  CaretMoved();
  Changed();
}

void TTextView::Changed() {
  if (OnChange) OnChange(this);
}

void TTextView::MouseDown(TMouseButton button, UINT keys, int x, int y) {
  SetFocus();
  if (button != mbLeft) return;
  selection_.MoveTo(HitTest(x, y), (keys & MK_SHIFT) != 0);
  selecting_ = true;
  CaretMoved();
}

void TTextView::MouseMove(UINT keys, int x, int y) {
  if (!selecting_ || !(keys & MK_LBUTTON)) {
    selecting_ = false;
    return;
  }
  // Dragging past an edge scrolls the text under the pointer.
  selection_.MoveTo(HitTest(x, y), true);
  CaretMoved();
}

void TTextView::ShowContextMenu(int x, int y) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  AppendMenuW(menu, MF_STRING | (selection_.Empty() ? MF_GRAYED : 0), kCopyCommand, L"&Copy");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kSelectAllCommand, L"Select &All");
  if (x == -1 && y == -1) {  // from the keyboard: at the caret
    POINT caret{};
    GetCaretPos(&caret);
    ClientToScreen(HandleIfCreated(), &caret);
    x = caret.x;
    y = caret.y + line_height_;
  }
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, HandleIfCreated(), nullptr));
  DestroyMenu(menu);
  if (command) SendMessageW(HandleIfCreated(), WM_COMMAND, command, 0);
}

LRESULT TTextView::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_GETDLGCODE: {
      // Arrows, characters and Enter stay here; Tab moves on to the next control.
      const auto* msg = reinterpret_cast<const MSG*>(lparam);
      const bool enter = msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_RBUTTONUP: {
      // The platform's default would send WM_CONTEXTMENU; the framework handles the button.
      POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ClientToScreen(HandleIfCreated(), &at);
      ShowContextMenu(at.x, at.y);
      return 0;
    }
    case WM_SETFOCUS:
      CreateCaret(HandleIfCreated(), nullptr, 1, line_height_);
      PlaceCaret();
      ShowCaret(HandleIfCreated());
      Invalidate();
      break;
    case WM_KILLFOCUS:
      DestroyCaret();
      Invalidate();
      break;
    case WM_KEYDOWN:
      if (KeyDown(wparam)) return 0;
      break;
    case WM_CHAR: {
      const bool control = GetKeyState(VK_CONTROL) < 0;
      if (wparam == 1 && control) {  // Ctrl+A
        SelectAll();
      } else if (wparam == 3 && control) {  // Ctrl+C
        CopyToClipboard();
      } else if (wparam == VK_BACK) {
        if (selection_.Empty()) selection_.Left(true);
        Type(u"");
      } else if (wparam == VK_RETURN) {
        Type(u"\r\n");
      } else if (wparam >= 0x20 || wparam == VK_TAB) {
        const char16_t c = static_cast<char16_t>(wparam);
        Type(std::u16string_view(&c, 1));
      }
      return 0;
    }
    case WM_MOUSEWHEEL: {
      UINT lines = 3;
      SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      const int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
      const long step = lines == WHEEL_PAGESCROLL ? static_cast<long>(VisibleLines()) : static_cast<long>(lines);
      ScrollTo(static_cast<long>(top_line_) - notches * step, x_offset_);
      return 0;
    }
    case WM_VSCROLL:
      ScrollMessage(SB_VERT, LOWORD(wparam));
      return 0;
    case WM_HSCROLL:
      ScrollMessage(SB_HORZ, LOWORD(wparam));
      return 0;
    case WM_CONTEXTMENU:
      ShowContextMenu(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case WM_COMMAND:
      if (lparam == 0 && LOWORD(wparam) == kCopyCommand) {
        CopyToClipboard();
        return 0;
      }
      if (lparam == 0 && LOWORD(wparam) == kSelectAllCommand) {
        SelectAll();
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT) {
        ::SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
        return TRUE;
      }
      break;
    // The window's text is the box's text, so that whatever reads a window's text reads it.
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(buffer_.Size());
    case WM_GETTEXT: {
      if (wparam == 0) return 0;
      const std::size_t count = std::min(buffer_.Size(), static_cast<std::size_t>(wparam) - 1);
      auto* out = reinterpret_cast<wchar_t*>(lparam);
      std::copy_n(buffer_.Text().data(), count, out);
      out[count] = L'\0';
      return static_cast<LRESULT>(count);
    }
    case WM_SETTEXT:
      if (lparam) SetText(Narrow(reinterpret_cast<const wchar_t*>(lparam)));
      return TRUE;
    default:
      break;
  }
  return TControl::WndProc(message, wparam, lparam);
}

}  // namespace quenlor::ui
