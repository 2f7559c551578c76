#include "ui/framework/controls.h"

#include <windowsx.h>

#include <algorithm>

#include "base/error.h"
#include "ui/framework/window_classes.h"

namespace quenlor::ui {

namespace {

int NextControlId() {
  static int next = 1000;
  return ++next;
}

TMouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return mbMiddle;
    default:
      return mbLeft;
  }
}

}  // namespace

TControl::TControl(TComponent* owner, TControl* parent)
    : TComponent(owner), parent_(parent), id_(NextControlId()) {
  if (parent_) {
    parent_->controls_.push_back(this);
    font_ = parent_->font_;
  }
}

TControl::~TControl() {
  // The window stops reaching this object first: what follows may send it messages.
  HWND window = hwnd_;
  if (window) {
    DestroyWnd();
    Detach();
  }
  DestroyComponents();
  if (window) DestroyWindow(window);
  hwnd_ = nullptr;
  for (TControl* child : controls_) child->parent_ = nullptr;
  if (parent_) {
    auto& siblings = parent_->controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void TControl::Constructed() {
  UpdateAnchorRules();
  if (parent_ && parent_->hwnd_) CreateHandle();
}

TControl* TControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  return reinterpret_cast<TControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void TControl::CreateParams(TCreateParams& params) {
  params.class_name = kControlClass;
  params.style = 0;
  params.ex_style = 0;
}

HWND TControl::Handle() {
  if (!hwnd_) CreateHandle();
  return hwnd_;
}

void TControl::CreateHandle() {
  if (hwnd_) return;
  if (parent_ && !parent_->hwnd_) {
    parent_->CreateHandle();  // makes its children too, this one among them
    if (hwnd_) return;
  }
  TCreateParams params;
  CreateParams(params);
  DWORD style = params.style;
  HWND parent_window = params.parent_window;
  HMENU menu = nullptr;
  if (parent_) {
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    parent_window = parent_->hwnd_;
    menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_));
  }
  if (visible_) style |= WS_VISIBLE;
  if (!enabled_) style |= WS_DISABLED;
  const std::wstring text = Wide(caption_);
  HWND window = CreateWindowExW(params.ex_style, params.class_name.c_str(), text.c_str(), style,
                                left_, top_, width_, WindowHeightFor(height_), parent_window,
                                menu, Application().Instance(),
                                params.system_class ? nullptr : this);
  if (!window) throw Error("cannot create window");
  if (params.system_class) Attach(window);
  ApplyFontToWindow();
  CreateWnd();
  for (TControl* child : std::vector<TControl*>(controls_)) child->CreateHandle();
  Realign();
}

void TControl::DestroyHandle() {
  if (!hwnd_) return;
  // Children first, each saving what its window holds (text, selection) into its fields.
  for (TControl* child : std::vector<TControl*>(controls_)) child->DestroyHandle();
  DestroyWnd();
  HWND window = hwnd_;
  Detach();
  DestroyWindow(window);
}

void TControl::RecreateWnd() {
  if (!hwnd_) return;
  DestroyHandle();
  CreateHandle();
}

void TControl::Attach(HWND window) {
  hwnd_ = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (current != &StaticWndProc) {
    original_proc_ = current;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc));
  }
}

void TControl::Detach() {
  if (!hwnd_) return;
  if (original_proc_) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_proc_));
    original_proc_ = nullptr;
  }
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  mouse_inside_ = false;
}

LRESULT CALLBACK TControl::StaticWndProc(HWND window, UINT message, WPARAM wparam,
                                         LPARAM lparam) {
  TControl* control = FromHandle(window);
  if (!control && message == WM_NCCREATE) {
    control = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    if (control) control->Attach(window);
  }
  if (!control) return DefWindowProcW(window, message, wparam, lparam);
  try {
    return control->WndProc(message, wparam, lparam);
  } catch (const std::exception& error) {
    Application().HandleException(error);
  } catch (...) {
    Application().HandleException(Error("unexpected failure"));
  }
  return 0;
}

LRESULT TControl::DefaultHandler(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!hwnd_) return 0;
  if (original_proc_) return CallWindowProcW(original_proc_, hwnd_, message, wparam, lparam);
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

TControl* TControl::ChildById(int id) const {
  for (TControl* child : controls_)
    if (child->id_ == id) return child;
  return nullptr;
}

TControl* TControl::ChildByHandle(HWND window) const {
  if (!window) return nullptr;
  for (TControl* child : controls_)
    if (child->hwnd_ == window) return child;
  return nullptr;
}

LRESULT TControl::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  const bool own_class = original_proc_ == nullptr;
  switch (message) {
    case WM_NCDESTROY: {
      const LRESULT result = DefaultHandler(message, wparam, lparam);
      Detach();
      return result;
    }
    case WM_COMMAND:
      if (TControl* child = ChildByHandle(reinterpret_cast<HWND>(lparam)))
        if (child->ReflectedCommand(HIWORD(wparam))) return 0;
      break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
      if (TControl* child = ChildByHandle(item->hwndItem))
        if (child->ReflectedDrawItem(*item)) return TRUE;
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      if (TControl* child = ChildById(static_cast<int>(item->CtlID)))
        if (child->ReflectedMeasureItem(*item)) return TRUE;
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (TControl* child = ChildByHandle(reinterpret_cast<HWND>(lparam)))
        if (HBRUSH brush = child->ReflectedCtlColor(reinterpret_cast<HDC>(wparam)))
          return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lparam);
      if (!(pos->flags & SWP_NOMOVE)) {
        left_ = pos->x;
        top_ = pos->y;
      }
      if (!(pos->flags & SWP_NOSIZE)) {
        RECT r;
        GetWindowRect(hwnd_, &r);
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
      }
      break;
    }
    case WM_SIZE: {
      const LRESULT result = DefaultHandler(message, wparam, lparam);
      Realign();
      Resize();
      return result;
    }
    case WM_ERASEBKGND:
      if (own_class) {
        if (!PaintsWholeClient() && !double_buffered_) {
          RECT r;
          GetClientRect(hwnd_, &r);
          FillRect(reinterpret_cast<HDC>(wparam), &r, BackgroundBrush());
        }
        return 1;
      }
      break;
    case WM_PAINT:
      if (own_class) {
        PaintMessage();
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (own_class) {
        TCanvas canvas(reinterpret_cast<HDC>(wparam));
        canvas.SetFont(font_);
        RECT r;
        GetClientRect(hwnd_, &r);
        if (!PaintsWholeClient()) canvas.FillRect(r, color_);
        Paint(canvas);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (!mouse_inside_) {
        mouse_inside_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
        MouseEnter();
      }
      if (own_class) MouseMove(static_cast<UINT>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      break;
    case WM_MOUSELEAVE:
      if (mouse_inside_) {
        mouse_inside_ = false;
        MouseLeave();
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (own_class) {
        const TMouseButton button = ButtonOf(message);
        if (button == mbLeft) SetCapture(hwnd_);
        MouseDown(button, static_cast<UINT>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        return 0;
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (own_class) {
        const TMouseButton button = ButtonOf(message);
        if (button == mbLeft && GetCapture() == hwnd_) ReleaseCapture();
        MouseUp(button, static_cast<UINT>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        return 0;
      }
      break;
    default:
      break;
  }
  return DefaultHandler(message, wparam, lparam);
}

void TControl::PaintMessage() {
  PaintDc paint(hwnd_);
  RECT client;
  GetClientRect(hwnd_, &client);
  if (double_buffered_ && client.right > 0 && client.bottom > 0) {
    MemoryDc memory(paint.get());
    Bitmap bitmap(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
    SelectGuard select(memory.get(), bitmap.get());
    {
      TCanvas canvas(memory.get());
      canvas.SetFont(font_);
      canvas.FillRect(client, color_);
      Paint(canvas);
    }
    BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
  } else {
    TCanvas canvas(paint.get());
    canvas.SetFont(font_);
    Paint(canvas);
  }
}

HBRUSH TControl::BackgroundBrush() {
  const COLORREF rgb = ColorToRGB(color_);
  if (!background_ || rgb != background_rgb_) {
    background_.Reset(CreateSolidBrush(rgb));
    background_rgb_ = rgb;
  }
  return background_.get();
}

HBRUSH TControl::ReflectedCtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(font_.Color()));
  SetBkColor(dc, ColorToRGB(color_));
  return BackgroundBrush();
}

void TControl::MouseDown(TMouseButton, UINT, int, int) {}
void TControl::MouseUp(TMouseButton, UINT, int, int) {}
void TControl::MouseMove(UINT, int, int) {}
void TControl::MouseEnter() {}
void TControl::MouseLeave() {}
void TControl::Resize() {}
void TControl::Click() {
  if (OnClick) OnClick(this);
}

int TControl::ClientWidth() {
  const RECT r = ClientRect();
  return r.right - r.left;
}

int TControl::ClientHeight() {
  const RECT r = ClientRect();
  return r.bottom - r.top;
}

RECT TControl::ClientRect() {
  RECT r{0, 0, 0, 0};
  if (hwnd_) {
    GetClientRect(hwnd_, &r);
    return r;
  }
  // Before the window exists: the bounds less the frame its styles will give it.
  TCreateParams params;
  CreateParams(params);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, params.style, FALSE, params.ex_style);
  r.right = std::max<LONG>(0, width_ - (frame.right - frame.left));
  r.bottom = std::max<LONG>(0, height_ - (frame.bottom - frame.top));
  return r;
}

void TControl::SetClientSize(int width, int height) {
  TCreateParams params;
  CreateParams(params);
  DWORD style = params.style, ex_style = params.ex_style;
  if (hwnd_) {
    style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  }
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  SetBounds(left_, top_, frame.right - frame.left, frame.bottom - frame.top);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  SetBoundsInternal(left, top, width, height);
  UpdateAnchorRules();
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetBoundsInternal(int left, int top, int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  const bool resized = width != width_ || height != height_;
  if (left == left_ && top == top_ && !resized) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (hwnd_) {
    SetWindowPos(hwnd_, nullptr, left, top, width, WindowHeightFor(height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (resized) {
    Realign();
  }
}

void TControl::UpdateAnchorRules() {
  if (!parent_) return;
  const RECT client = parent_->ClientRect();
  const TAnchorDistances distances = AnchorDistances(client.right, client.bottom, {left_, top_, width_, height_});
  anchor_right_ = distances.right;
  anchor_bottom_ = distances.bottom;
}

void TControl::SetAnchors(TAnchors anchors) {
  anchors_ = anchors;
  UpdateAnchorRules();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->Realign();
}

void TControl::Realign() {
  if (realigning_) return;
  realigning_ = true;
  const RECT client = ClientRect();
  std::vector<TLayoutChild> children;
  children.reserve(controls_.size());
  for (const TControl* c : controls_)
    children.push_back({{c->left_, c->top_, c->width_, c->height_}, c->align_, c->anchors_, c->visible_,
                        c->anchor_right_, c->anchor_bottom_});
  const std::vector<TBounds> placed = PlaceChildren(client.right, client.bottom, children);
  // Placing one child can change the list (a child made or removed in its events): the
  // positions go to the children as they were.
  const std::vector<TControl*> controls = controls_;
  for (std::size_t i = 0; i < controls.size(); ++i)
    controls[i]->SetBoundsInternal(placed[i].left, placed[i].top, placed[i].width, placed[i].height);
  realigning_ = false;
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (hwnd_) EnableWindow(hwnd_, enabled);
  Invalidate();
}

void TControl::ApplyFontToWindow() {
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
}

void TControl::SetFont(const TFont& font) {
  parent_font_ = false;
  ApplyParentFont(font);
}

void TControl::ApplyParentFont(const TFont& font) {
  font_ = font;
  ApplyFontToWindow();
  FontChanged();
  for (TControl* child : controls_)
    if (child->parent_font_) child->ApplyParentFont(font_);
  Invalidate();
}

void TControl::SetColor(TColor color) {
  color_ = color;
  Invalidate();
}

std::string TControl::Caption() const {
  if (!hwnd_) return caption_;
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(0, got)));
  return Narrow(text);
}

void TControl::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (hwnd_) SetWindowTextW(hwnd_, Wide(caption).c_str());
  TextChanged();
  Invalidate();
}

bool TControl::Focused() const { return hwnd_ && GetFocus() == hwnd_; }

void TControl::SetFocus() {
  if (Handle()) ::SetFocus(hwnd_);
}

void TControl::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void TControl::Repaint() {
  if (hwnd_) {
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
  }
}

}  // namespace quenlor::ui
