#include "ui/framework/controls.h"

#include "ui/framework/handles.h"

namespace quenlor::ui {

TCustomControl::TCustomControl(TComponent* owner, TControl* parent) : TControl(owner, parent) {}

TPaintBox::TPaintBox(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  SetBoundsInternal(0, 0, 105, 105);
}

LRESULT TPaintBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  // Like a drawing on its parent: the mouse reaches the parent through it.
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  return TControl::WndProc(message, wparam, lparam);
}

void TPaintBox::CreateWnd() {
  // Drawn on the parent beneath its windowed controls.
  SetWindowPos(HandleIfCreated(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TPaintBox::Paint(TCanvas& canvas) {
  if (OnPaint) OnPaint(this, canvas);
}

TLabel::TLabel(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  if (parent) SetColor(parent->Color());
  AdjustSize();
}

LRESULT TLabel::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  return TControl::WndProc(message, wparam, lparam);
}

void TLabel::SetAutoSize(bool value) {
  auto_size_ = value;
  AdjustSize();
}

void TLabel::SetLayout(TTextLayout layout) {
  layout_ = layout;
  Invalidate();
}

void TLabel::FontChanged() { AdjustSize(); }
void TLabel::TextChanged() { AdjustSize(); }

void TLabel::AdjustSize() {
  if (!auto_size_) return;
  WindowDc screen(nullptr);
  TCanvas canvas(screen.get());
  canvas.SetFont(Font());
  RECT r{0, 0, 0, 0};
  const std::string text = Caption();
  canvas.DrawString(text.empty() ? std::string(" ") : text, r, DT_CALCRECT | DT_EXPANDTABS);
  SetBounds(Left(), Top(), r.right, r.bottom);
}

void TLabel::Paint(TCanvas& canvas) {
  RECT r = ClientRect();
  canvas.FillRect(r, Parent() ? Parent()->Color() : Color());
  UINT format = DT_EXPANDTABS;
  if (layout_ != TTextLayout::tlTop) {
    format |= DT_SINGLELINE | (layout_ == TTextLayout::tlCenter ? DT_VCENTER : DT_BOTTOM);
  } else if (!auto_size_) {
    format |= DT_WORDBREAK;
  }
  if (!Enabled()) {
    TFont grey = canvas.Font();
    grey.SetColor(clGrayText);
    canvas.SetFont(grey);
  }
  canvas.DrawString(Caption(), r, format);
}

TButton::TButton(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  SetBoundsInternal(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& params) {
  params.class_name = L"BUTTON";
  params.system_class = true;
  params.style = BS_PUSHBUTTON | WS_TABSTOP;
}

bool TButton::ReflectedCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  Click();
  return true;
}

}  // namespace quenlor::ui
