// Shared by the user-interface tests: a shown form to put controls on, pixel reading from
// a window's own device context, and messages as the mouse would send them.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/framework/controls.h"

namespace quenlor::ui::testing {

class Host : public TForm {
 public:
  explicit Host(TComponent* owner) : TForm(owner) {
    SetPosition(TPosition::poDesigned);
    SetBounds(20, 20, 640, 480);
  }
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().SetTitle("Quenlor");
    Application().MessageBoxHook = [this](const std::string& text, const std::string&, UINT) {
      messages_ += text;
      return IDOK;
    };
    host_ = &Application().CreateForm<Host>();
  }
  void TearDown() override {
    while (!Application().Forms().empty()) Application().RemoveComponent(Application().Forms().back());
    Application().MessageBoxHook = nullptr;
  }
  // Shows the host and paints everything now.
  void ShowAndPaint() {
    host_->Show();
    SetForegroundWindow(host_->Handle());
    RedrawWindow(host_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application().ProcessMessages();
  }
  Host* host_ = nullptr;
  std::string messages_;
};

inline COLORREF PixelAt(HWND window, int x, int y, bool whole_window = false) {
  HDC dc = whole_window ? GetWindowDC(window) : GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

inline std::string Hex(COLORREF c) {
  char b[16];
  std::snprintf(b, sizeof b, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return b;
}

// Colours equal within a tolerance per channel (gradients step differently per renderer).
inline ::testing::AssertionResult Near(COLORREF actual, COLORREF expected, int tolerance = 0) {
  const int dr = std::abs(GetRValue(actual) - GetRValue(expected));
  const int dg = std::abs(GetGValue(actual) - GetGValue(expected));
  const int db = std::abs(GetBValue(actual) - GetBValue(expected));
  if (dr <= tolerance && dg <= tolerance && db <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Hex(actual) << " is not " << Hex(expected) << " (tolerance " << tolerance << ")";
}

inline void Press(HWND w, int x, int y) { SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
inline void Release(HWND w, int x, int y) { SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
inline void MoveTo(HWND w, int x, int y) { SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
inline void Click(HWND w, int x, int y) {
  Press(w, x, y);
  Release(w, x, y);
}

// A key pressed with Shift and Ctrl held or not, as the thread's key state tells the
// window: the key, then the character it makes (Ctrl+A is character 1).
inline void Key(HWND w, WPARAM key, bool shift = false, bool control = false, WPARAM character = 0) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_SHIFT] = shift ? 0x80 : 0;
  state[VK_CONTROL] = control ? 0x80 : 0;
  SetKeyboardState(state);
  SendMessageW(w, WM_KEYDOWN, key, 1);
  if (character) SendMessageW(w, WM_CHAR, character, 1);
  SendMessageW(w, WM_KEYUP, key, 1);
  state[VK_SHIFT] = state[VK_CONTROL] = 0;
  SetKeyboardState(state);
}

// The clipboard's Unicode text; empty when it holds none.
inline std::u16string ClipboardText() {
  std::u16string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

inline void EmptyTheClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

// The rightmost column of row band [top, top + height) of a window's client area whose
// pixel differs from `background`; -1 when none does.
inline int RightmostInk(HWND window, int top, int height, COLORREF background) {
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  int rightmost = -1;
  for (int y = top; y < top + height && y < client.bottom; ++y)
    for (int x = client.right - 1; x > rightmost; --x)
      if (GetPixel(dc, x, y) != background) {
        rightmost = x;
        break;
      }
  ReleaseDC(window, dc);
  return rightmost;
}

}  // namespace quenlor::ui::testing
