// A multi-line text box for texts of any size: the text is held once and only the lines in
// view are measured and drawn, so setting a text of megabytes and scrolling anywhere in it
// cost what a screenful costs. No word wrap; vertical scroll bar always, horizontal one when
// a line is wider than the box; caret, selection by mouse and keyboard, mouse wheel, Copy
// (Ctrl+C, Ctrl+Insert, the context menu) as Unicode text, Select All (Ctrl+A, the menu).
// What is typed changes the text shown until the next SetText.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/framework/controls.h"
#include "ui/text/text_buffer.h"

namespace quenlor::ui {

class TTextView : public TControl {
 public:
  TTextView(TComponent* owner, TControl* parent);

  std::string Text() const;  // UTF-8, what the box shows
  void SetText(std::string_view text);
  void SetBorder(bool border);

  // The selection in UTF-16 offsets, as the platform's edit boxes count.
  std::size_t SelStart() const { return selection_.Start(); }
  std::size_t SelLength() const { return selection_.End() - selection_.Start(); }
  void Select(std::size_t anchor, std::size_t caret);
  void SelectAll();
  // Puts the selected text on the clipboard as Unicode text; nothing when it is empty.
  void CopyToClipboard();
  std::size_t TopLine() const { return top_line_; }
  int LineHeight() const { return line_height_; }
  // Lines that fit wholly in the box (at least one).
  std::size_t VisibleLines();

  // Runs after SetText and after each change typed.
  TNotifyEvent OnChange;

  // The context menu's commands.
  static constexpr UINT kCopyCommand = 1;
  static constexpr UINT kSelectAllCommand = 2;

  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint(TCanvas& canvas) override;
  bool PaintsWholeClient() const override { return true; }
  void MouseDown(TMouseButton button, UINT keys, int x, int y) override;
  void MouseMove(UINT keys, int x, int y) override;
  void FontChanged() override;
  void Resize() override;

 private:
  // Where one line's characters sit: its top in client pixels and the left edge of each of
  // its UTF-16 units, then its end, in client pixels with the horizontal scroll applied.
  // Drawing, hit-testing, the caret and vertical moves all place text through this.
  struct LineGeometry {
    int top = 0;
    std::vector<int> edges;
  };
  LineGeometry LayOutLine(HDC dc, std::size_t line) const;
  std::size_t HitTest(int x, int y) const;
  class Measure;

  void UpdateMetrics();
  void UpdateScrollBars();
  void ScrollTo(long top_line, int x_offset);
  void ScrollMessage(int bar, WORD code);
  // After a caret move: scrolls it into view, places the platform caret, repaints.
  void CaretMoved();
  void PlaceCaret();
  bool KeyDown(WPARAM key);
  void Type(std::u16string_view text);
  void Changed();
  void ShowContextMenu(int x, int y);

  TextBuffer buffer_;
  TextSelection selection_{buffer_};
  std::size_t top_line_ = 0;
  int x_offset_ = 0;
  int line_height_ = 13;
  int char_width_ = 7;
  bool border_ = true;
  bool selecting_ = false;
};

}  // namespace quenlor::ui
