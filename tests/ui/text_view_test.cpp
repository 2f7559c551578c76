// The text view driven as a user drives it: keys with Shift and Ctrl, the mouse, the wheel,
// the clipboard, and what reaches the screen.
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/text.h"
#include "ui/components/text_view.h"
#include "ui_test_support.h"

namespace quenlor::ui {
namespace {

using testing::ClipboardText;
using testing::EmptyTheClipboard;
using testing::Key;
using testing::MoveTo;
using testing::Press;
using testing::Release;
using testing::RightmostInk;

// Numbered lines of 50 characters until the text has `bytes` bytes, CR LF after each.
std::string NumberedLines(std::size_t bytes) {
  std::string text;
  for (int line = 0; text.size() < bytes; ++line) {
    std::string number = std::to_string(line);
    text += "line " + std::string(8 - number.size(), '0') + number + std::string(36, '.') + "\r\n";
  }
  return text;
}

std::u16string Wide16(const std::string& text) { return Utf8ToUtf16(text); }

class TextViewTest : public testing::UiTest {
 protected:
  TTextView& MakeView() {
    TTextView& view = host_->Add<TTextView>(host_);
    view.SetBounds(10, 10, 400, 200);
    view.SetFont(TFont::FixedPitch("Courier New", 8));
    ShowAndPaint();
    view.SetFocus();
    return view;
  }
};

TEST_F(TextViewTest, AThreeMegabyteTextIsShownFromItsFirstLineAndScrollsToItsLast) {
  TTextView& view = MakeView();
  const std::string text = NumberedLines(3 << 20);
  view.SetText(text);
  view.Repaint();
  HWND w = view.Handle();
  EXPECT_EQ(view.Text(), text);
  EXPECT_EQ(GetWindowTextLengthW(w), static_cast<int>(Wide16(text).size()));
  // The first row holds ink, the box's background elsewhere.
  EXPECT_GT(RightmostInk(w, 0, view.LineHeight(), ColorToRGB(clWindow)), 40);

  const std::size_t lines = 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  SendMessageW(w, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(view.TopLine(), lines - view.VisibleLines());
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &info);
  EXPECT_EQ(info.nMax, static_cast<int>(lines) - 1);
  EXPECT_EQ(info.nPos, static_cast<int>(view.TopLine()));

  // The thumb dragged to the middle: positions beyond 16 bits reach the view.
  SCROLLINFO track{sizeof track, SIF_POS, 0, 0, 0, static_cast<int>(lines / 2), 0};
  SetScrollInfo(w, SB_VERT, &track, FALSE);
  SendMessageW(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  EXPECT_EQ(view.TopLine(), lines / 2);

  SendMessageW(w, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-2 * WHEEL_DELTA)) << 16, 0);
  UINT step = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &step, 0);
  EXPECT_EQ(view.TopLine(), lines / 2 + 2 * step);
  Key(w, VK_HOME, false, true);
  EXPECT_EQ(view.TopLine(), 0u);
  EXPECT_EQ(view.SelStart(), 0u);
}

TEST_F(TextViewTest, KeysMoveAndSelectAndCtrlACtrlCCopyTheWholeText) {
  TTextView& view = MakeView();
  const std::string text = "first line\r\nsecond\r\n\xCE\xB1\xF0\x9F\x98\x80 third\r\n";
  view.SetText(text);
  HWND w = view.Handle();
  Key(w, VK_END);
  EXPECT_EQ(view.SelStart(), 10u);
  Key(w, VK_RIGHT);  // over CR LF at once
  EXPECT_EQ(view.SelStart(), 12u);
  Key(w, VK_END, true);
  EXPECT_EQ(view.SelLength(), 6u);
  Key(w, VK_DOWN, true);  // the goal column of "second"'s end, in a shorter line
  Key(w, VK_LEFT, true);
  Key(w, VK_LEFT, true);
  EXPECT_EQ(view.SelStart(), 12u);
  Key(w, VK_HOME, true, true);
  EXPECT_EQ(view.SelStart(), 0u);
  EXPECT_EQ(view.SelLength(), 12u);
  Key(w, VK_END, false, true);
  EXPECT_EQ(view.SelStart(), 31u);
  EXPECT_EQ(view.SelLength(), 0u);
  Key(w, VK_HOME, true, true);
  EXPECT_EQ(view.SelLength(), 31u);
  Key(w, VK_END, false, true);
  Key(w, VK_UP);
  Key(w, VK_RIGHT);
  Key(w, VK_RIGHT);
  // Alpha, then the surrogate pair as one character.
  EXPECT_EQ(view.SelStart(), 23u);

  EmptyTheClipboard();
  Key(w, 'A', false, true, 1);
  Key(w, 'C', false, true, 3);
  EXPECT_EQ(ClipboardText(), Wide16(text));
  Key(w, VK_PRIOR, true);
  Key(w, VK_NEXT);
  EXPECT_EQ(view.SelLength(), 0u);
}

TEST_F(TextViewTest, DraggingPastTheBottomSelectsBeyondTheVisibleLinesAndTheMenuCopiesIt) {
  TTextView& view = MakeView();
  const std::string text = NumberedLines(200000);
  view.SetText(text);
  HWND w = view.Handle();
  const int h = view.LineHeight();
  RECT client{};
  GetClientRect(w, &client);
  const std::size_t visible = view.VisibleLines();
  Press(w, 2, 2 * h + h / 2);
  for (int step = 1; step <= 5; ++step) SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, client.bottom + step * h));
  Release(w, 2, client.bottom + 5 * h);
  const std::size_t line_bytes = 51;  // 49 characters and CR LF, all ASCII
  EXPECT_EQ(view.SelStart(), 2 * line_bytes);
  EXPECT_GT(view.SelStart() + view.SelLength(), (visible + 2) * line_bytes);
  EXPECT_GT(view.TopLine(), 0u);

  EmptyTheClipboard();
  SendMessageW(w, WM_COMMAND, TTextView::kCopyCommand, 0);
  EXPECT_EQ(ClipboardText(), Wide16(text).substr(view.SelStart(), view.SelLength()));

  // Shift with the mouse extends from the caret.
  Key(w, VK_HOME, false, true);
  view.Select(line_bytes, line_bytes);
  MoveTo(w, 0, 0);
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(2, h / 2));
  Release(w, 2, h / 2);
  EXPECT_EQ(view.SelStart(), 0u);
  EXPECT_EQ(view.SelLength(), line_bytes);
}

TEST_F(TextViewTest, TypingChangesTheTextShownAndTellsSo) {
  TTextView& view = MakeView();
  int changes = 0;
  view.OnChange = [&](TComponent*) { ++changes; };
  view.SetText("abc\r\ndef");
  EXPECT_EQ(changes, 1);
  HWND w = view.Handle();
  Key(w, VK_END);
  SendMessageW(w, WM_CHAR, 'X', 1);
  SendMessageW(w, WM_CHAR, VK_RETURN, 1);
  EXPECT_EQ(view.Text(), "abcX\r\n\r\ndef");
  SendMessageW(w, WM_CHAR, VK_BACK, 1);
  SendMessageW(w, WM_CHAR, VK_BACK, 1);
  Key(w, VK_DELETE);  // the CR LF after the caret
  EXPECT_EQ(view.Text(), "abcdef");
  Key(w, 'A', false, true, 1);
  SendMessageW(w, WM_CHAR, 'z', 1);
  EXPECT_EQ(view.Text(), "z");
  EXPECT_EQ(changes, 7);
  // The dialog keys: Tab moves on, arrows and Enter stay.
  MSG tab{w, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  MSG enter{w, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_EQ(SendMessageW(w, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTALLKEYS, 0);
  EXPECT_NE(SendMessageW(w, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE, 0);
}

TEST_F(TextViewTest, TheCodeFontIsMonospacedOnScreen) {
  TTextView& view = MakeView();
  EXPECT_TRUE(view.Font().IsFixedPitch()) << view.Font().Name();
  // Two lines of as many characters, narrow and wide ones, end at the same column.
  view.SetText("iiiiiiiiiiiiiiii\r\nWWWWWWWWWWWWWWWW\r\n");
  view.Repaint();
  const COLORREF back = ColorToRGB(clWindow);
  const int h = view.LineHeight();
  const int narrow = RightmostInk(view.Handle(), 0, h, back);
  const int wide = RightmostInk(view.Handle(), h, h, back);
  EXPECT_GT(wide, 16 * 3);
  EXPECT_NEAR(narrow, wide, 2);

  // A selected range is drawn in the highlight colour.
  view.Select(0, 4);
  view.Repaint();
  HDC dc = GetDC(view.Handle());
  const COLORREF marked = GetPixel(dc, 3, h / 2);
  ReleaseDC(view.Handle(), dc);
  EXPECT_TRUE(testing::Near(marked, ColorToRGB(clHighlight)) || testing::Near(marked, ColorToRGB(clHighlightText)))
      << testing::Hex(marked);
}

}  // namespace
}  // namespace quenlor::ui
