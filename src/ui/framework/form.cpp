#include "ui/framework/controls.h"

#include <algorithm>

#include "ui/framework/window_classes.h"

namespace quenlor::ui {

TForm::TForm(TComponent* owner) : TControl(owner, nullptr) {
  SetVisible(false);
  SetBoundsInternal(CW_USEDEFAULT, CW_USEDEFAULT, 320, 240);
  Application().forms_.push_back(this);
}

TForm::~TForm() {
  auto& forms = Application().forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (Application().main_form_ == this) Application().main_form_ = nullptr;
}

void TForm::Constructed() {
  TControl::Constructed();
  Loaded();
  DoCreate();
}

void TForm::DoCreate() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (const std::exception& error) {
    Application().HandleException(error);
  }
}

void TForm::CreateParams(TCreateParams& params) {
  params.class_name = kFormClass;
  params.ex_style = 0;
  switch (border_style_) {
    case TFormBorderStyle::bsNone:
      params.style = WS_POPUP;
      break;
    case TFormBorderStyle::bsSingle:
      params.style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER;
      break;
    case TFormBorderStyle::bsSizeable:
      params.style = WS_OVERLAPPEDWINDOW;
      break;
  }
  params.style |= WS_CLIPCHILDREN;
  params.ex_style |= WS_EX_CONTROLPARENT;
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  RecreateWnd();
}

void TForm::SetIcon(HICON icon) {
  icon_ = icon;
  if (HWND w = HandleIfCreated()) {
    SendMessageW(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

SIZE TForm::OuterSize(int client_width, int client_height) {
  TCreateParams params;
  CreateParams(params);
  DWORD style = params.style, ex_style = params.ex_style;
  if (HWND w = HandleIfCreated()) {
    style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
    ex_style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE));
  }
  RECT frame{0, 0, client_width, client_height};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void TForm::SetClientSize(int width, int height) {
  const SIZE outer = OuterSize(width, height);
  SetBounds(Left(), Top(), outer.cx, outer.cy);
  // The window manager may give the frame a different size; correct by what it reports.
  if (HWND w = HandleIfCreated()) {
    RECT client;
    GetClientRect(w, &client);
    const int dx = width - client.right, dy = height - client.bottom;
    if (dx != 0 || dy != 0) SetBounds(Left(), Top(), Width() + dx, Height() + dy);
  }
}

void TForm::SetVisible(bool visible) {
  if (visible) {
    Handle();
    if (!centred_ && position_ == TPosition::poScreenCenter) {
      centred_ = true;
      RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      SetBounds(work.left + (work.right - work.left - Width()) / 2,
                work.top + (work.bottom - work.top - Height()) / 2, Width(), Height());
    }
  }
  TControl::SetVisible(visible);
  if (HWND w = HandleIfCreated(); visible && w) {
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
  }
}

void TForm::Close() {
  if (HWND w = HandleIfCreated())
    SendMessageW(w, WM_CLOSE, 0, 0);
  else if (Application().MainForm() == this)
    Application().Terminate();
}

LRESULT TForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      if (icon_) {
        SendMessageW(HandleIfCreated(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageW(HandleIfCreated(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
      }
      break;
    case WM_CLOSE:
      SetVisible(false);
      if (Application().MainForm() == this) Application().Terminate();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      if (min_width_ > 0) info->ptMinTrackSize.x = min_width_;
      if (min_height_ > 0) info->ptMinTrackSize.y = min_height_;
      return 0;
    }
    default:
      break;
  }
  return TControl::WndProc(message, wparam, lparam);
}

}  // namespace quenlor::ui
