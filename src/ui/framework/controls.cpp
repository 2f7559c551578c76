#include "ui/framework/controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "base/error.h"

namespace quenlor::ui {

namespace {

// The look of an owner-drawn item that no theme draws: the highlight when selected, its text.
void DrawPlainItem(TCanvas& canvas, const DRAWITEMSTRUCT& item, TOwnerDrawState state,
                   const std::vector<std::string>& items, TColor color, TFont font) {
  const int index = static_cast<int>(item.itemID);
  if (index < 0) {
    canvas.FillRect(item.rcItem, color);
    return;
  }
  const bool selected = state & odSelected;
  canvas.FillRect(item.rcItem, selected ? clHighlight : color);
  font.SetColor(selected ? clHighlightText : clWindowText);
  canvas.SetFont(font);
  RECT r = item.rcItem;
  r.left += 2;
  canvas.DrawString(index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)] : "", r,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

constexpr wchar_t kControlClass[] = L"QuenlorControl";
constexpr wchar_t kFormClass[] = L"QuenlorForm";
constexpr wchar_t kTimerClass[] = L"QuenlorTimer";

int NextControlId() {
  static int next = 1000;
  return ++next;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() { DestroyComponents(); }

void TComponent::DestroyComponents() {
  // Reverse order: later components may refer to earlier ones (a control to its parent).
  while (!components_.empty()) {
    std::unique_ptr<TComponent> last = std::move(components_.back());
    components_.pop_back();
    last.reset();
  }
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [&](const auto& c) { return c.get() == component; });
  if (it == components_.end()) return;
  std::unique_ptr<TComponent> doomed = std::move(*it);
  components_.erase(it);
  doomed.reset();
}

// ---------------------------------------------------------------------------------------
// TControl

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
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      LRESULT result = 0;
      if (TControl* child = ChildByHandle(header->hwndFrom))
        if (child->ReflectedNotify(*header, result)) return result;
      break;
    }
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
        const TMouseButton button = message == WM_RBUTTONDOWN ? mbRight
                                    : message == WM_MBUTTONDOWN ? mbMiddle : mbLeft;
        if (button == mbLeft) SetCapture(hwnd_);
        MouseDown(button, static_cast<UINT>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        return 0;
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (own_class) {
        const TMouseButton button = message == WM_RBUTTONUP ? mbRight
                                    : message == WM_MBUTTONUP ? mbMiddle : mbLeft;
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
void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}
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
  anchor_right_ = client.right - (left_ + width_);
  anchor_bottom_ = client.bottom - (top_ + height_);
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
  RECT area = ClientRect();
  const TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                          TAlign::alClient};
  for (TAlign kind : order) {
    for (TControl* c : controls_) {
      if (c->align_ != kind || !c->visible_) continue;
      const int w = area.right - area.left, h = area.bottom - area.top;
      switch (kind) {
        case TAlign::alTop:
          c->SetBoundsInternal(area.left, area.top, w, c->height_);
          area.top = std::min(area.bottom, area.top + c->height_);
          break;
        case TAlign::alBottom:
          c->SetBoundsInternal(area.left, area.bottom - c->height_, w, c->height_);
          area.bottom = std::max(area.top, area.bottom - c->height_);
          break;
        case TAlign::alLeft:
          c->SetBoundsInternal(area.left, area.top, c->width_, h);
          area.left = std::min(area.right, area.left + c->width_);
          break;
        case TAlign::alRight:
          c->SetBoundsInternal(area.right - c->width_, area.top, c->width_, h);
          area.right = std::max(area.left, area.right - c->width_);
          break;
        default:
          c->SetBoundsInternal(area.left, area.top, w, h);
          break;
      }
    }
  }
  const RECT client = ClientRect();
  for (TControl* c : controls_) {
    if (c->align_ != TAlign::alNone) continue;
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    if (c->anchors_ & akRight) {
      if (c->anchors_ & akLeft)
        w = client.right - l - c->anchor_right_;
      else
        l = client.right - w - c->anchor_right_;
    }
    if (c->anchors_ & akBottom) {
      if (c->anchors_ & akTop)
        h = client.bottom - t - c->anchor_bottom_;
      else
        t = client.bottom - h - c->anchor_bottom_;
    }
    c->SetBoundsInternal(l, t, w, h);
  }
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
  font_ = font;
  ApplyFontToWindow();
  FontChanged();
  for (TControl* child : controls_)
    if (child->parent_font_) child->ApplyParentFont(font_);
  Invalidate();
}

void TControl::ApplyParentFont(const TFont& font) {
  font_ = font;
  ApplyFontToWindow();
  FontChanged();
  for (TControl* child : controls_)
    if (child->parent_font_) child->ApplyParentFont(font_);
  Invalidate();
}

void TControl::SetParentFont(bool value) {
  parent_font_ = value;
  if (value && parent_) ApplyParentFont(parent_->font_);
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

// ---------------------------------------------------------------------------------------
// Simple controls

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

// ---------------------------------------------------------------------------------------
// TListBox

TListBox::TListBox(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  SetBoundsInternal(0, 0, 121, 97);
  SetColor(clWindow);
}

void TListBox::CreateParams(TCreateParams& params) {
  params.class_name = L"LISTBOX";
  params.system_class = true;
  params.style = WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (style_ == TListBoxStyle::lbOwnerDrawFixed) params.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  params.ex_style = WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd() {
  HWND w = HandleIfCreated();
  SendMessageW(w, WM_SETREDRAW, FALSE, 0);
  for (const std::string& item : items_)
    SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  if (style_ == TListBoxStyle::lbOwnerDrawFixed) SendMessageW(w, LB_SETITEMHEIGHT, 0, item_height_);
  SendMessageW(w, LB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
  SendMessageW(w, WM_SETREDRAW, TRUE, 0);
}

void TListBox::DestroyWnd() { item_index_ = ItemIndex(); }

void TListBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  item_index_ = -1;
  if (HWND w = HandleIfCreated()) {
    SendMessageW(w, WM_SETREDRAW, FALSE, 0);
    SendMessageW(w, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items_)
      SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    SendMessageW(w, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(w, nullptr, TRUE);
  }
}

void TListBox::AddItem(const std::string& item) {
  items_.push_back(item);
  if (HWND w = HandleIfCreated())
    SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
}

int TListBox::ItemIndex() const {
  if (HWND w = HandleIfCreated()) return static_cast<int>(SendMessageW(w, LB_GETCURSEL, 0, 0));
  return item_index_;
}

void TListBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  item_index_ = index;
  if (HWND w = HandleIfCreated()) SendMessageW(w, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TListBox::SetStyle(TListBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

void TListBox::SetItemHeight(int height) {
  item_height_ = std::max(0, height);
  if (HWND w = HandleIfCreated()) {
    if (style_ == TListBoxStyle::lbOwnerDrawFixed) {
      SendMessageW(w, LB_SETITEMHEIGHT, 0, item_height_);
      InvalidateRect(w, nullptr, TRUE);
    }
  }
}

bool TListBox::ReflectedCommand(WORD code) {
  if (code != LBN_SELCHANGE) return false;
  Click();
  return true;
}

bool TListBox::ReflectedMeasureItem(MEASUREITEMSTRUCT& item) {
  item.itemHeight = static_cast<UINT>(item_height_);
  return true;
}

bool TListBox::ReflectedDrawItem(DRAWITEMSTRUCT& item) {
  TCanvas canvas(item.hDC);
  canvas.SetFont(Font());
  const auto state = static_cast<TOwnerDrawState>(item.itemState & 0xFFFF);
  const int index = static_cast<int>(item.itemID);
  if (index >= 0 && OnDrawItem) {
    OnDrawItem(this, index, item.rcItem, state, canvas);
  } else {
    DrawPlainItem(canvas, item, state, items_, Color(), Font());
  }
  // The standard focus rectangle; a theme that clipped the item away hides it.
  if (state & odFocused) DrawFocusRect(item.hDC, &item.rcItem);
  return true;
}

HBRUSH TListBox::ReflectedCtlColor(HDC dc) { return TControl::ReflectedCtlColor(dc); }

// ---------------------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  SetBoundsInternal(0, 0, 145, 21);
  SetColor(clWindow);
}

void TComboBox::CreateParams(TCreateParams& params) {
  params.class_name = L"COMBOBOX";
  params.system_class = true;
  params.style = WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
  if (style_ == TComboBoxStyle::csOwnerDrawFixed) params.style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

void TComboBox::CreateWnd() {
  HWND w = HandleIfCreated();
  for (const std::string& item : items_)
    SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  if (item_height_ > 0) {
    SendMessageW(w, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item_height_);
    SendMessageW(w, CB_SETITEMHEIGHT, 0, item_height_);
  }
  SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
}

void TComboBox::DestroyWnd() { item_index_ = ItemIndex(); }

void TComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  item_index_ = -1;
  if (HWND w = HandleIfCreated()) {
    SendMessageW(w, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items_)
      SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  }
}

int TComboBox::ItemIndex() const {
  if (HWND w = HandleIfCreated()) return static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0));
  return item_index_;
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  item_index_ = index;
  if (HWND w = HandleIfCreated()) SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

void TComboBox::SetItemHeight(int height) {
  item_height_ = std::max(0, height);
  if (HWND w = HandleIfCreated(); w && item_height_ > 0) {
    SendMessageW(w, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item_height_);
    SendMessageW(w, CB_SETITEMHEIGHT, 0, item_height_);
  }
}

bool TComboBox::ReflectedCommand(WORD code) {
  if (code != CBN_SELCHANGE) return false;
  if (OnChange) OnChange(this);
  return true;
}

bool TComboBox::ReflectedMeasureItem(MEASUREITEMSTRUCT& item) {
  if (item_height_ <= 0) return false;
  item.itemHeight = static_cast<UINT>(item_height_);
  return true;
}

bool TComboBox::ReflectedDrawItem(DRAWITEMSTRUCT& item) {
  TCanvas canvas(item.hDC);
  canvas.SetFont(Font());
  const auto state = static_cast<TOwnerDrawState>(item.itemState & 0xFFFF);
  const int index = static_cast<int>(item.itemID);
  if (index >= 0 && OnDrawItem) {
    OnDrawItem(this, index, item.rcItem, state, canvas);
  } else {
    DrawPlainItem(canvas, item, state, items_, Color(), Font());
  }
  if (state & odFocused) DrawFocusRect(item.hDC, &item.rcItem);
  return true;
}

HBRUSH TComboBox::ReflectedCtlColor(HDC dc) { return TControl::ReflectedCtlColor(dc); }

// ---------------------------------------------------------------------------------------
// TMemo

TMemo::TMemo(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  SetBoundsInternal(0, 0, 185, 89);
  SetColor(clWindow);
}

void TMemo::CreateParams(TCreateParams& params) {
  params.class_name = L"EDIT";
  params.system_class = true;
  params.style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
  if (!word_wrap_) params.style |= ES_AUTOHSCROLL;
  if (read_only_) params.style |= ES_READONLY;
  if (scroll_ == TScrollStyle::ssVertical || scroll_ == TScrollStyle::ssBoth) params.style |= WS_VSCROLL;
  if (scroll_ == TScrollStyle::ssHorizontal || scroll_ == TScrollStyle::ssBoth) params.style |= WS_HSCROLL;
  params.ex_style = border_ ? WS_EX_CLIENTEDGE : 0;
}

void TMemo::CreateWnd() {
  HWND w = HandleIfCreated();
  SendMessageW(w, EM_SETLIMITTEXT, 0, 0);
  SetWindowTextW(w, Wide(text_).c_str());
}

void TMemo::DestroyWnd() { text_ = Text(); }

std::string TMemo::Text() const {
  HWND w = HandleIfCreated();
  if (!w) return text_;
  const int length = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(w, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(0, got)));
  return Narrow(text);
}

void TMemo::SetText(const std::string& text) {
  text_ = text;
  if (HWND w = HandleIfCreated()) SetWindowTextW(w, Wide(text).c_str());
}

void TMemo::SetBorder(bool border) {
  if (border == border_) return;
  border_ = border;
  RecreateWnd();
}

void TMemo::SetScrollBars(TScrollStyle scroll) {
  if (scroll == scroll_) return;
  scroll_ = scroll;
  RecreateWnd();
}

void TMemo::SetWordWrap(bool wrap) {
  if (wrap == word_wrap_) return;
  word_wrap_ = wrap;
  RecreateWnd();
}

void TMemo::SetReadOnly(bool read_only) {
  read_only_ = read_only;
  if (HWND w = HandleIfCreated()) SendMessageW(w, EM_SETREADONLY, read_only, 0);
}

HBRUSH TMemo::ReflectedCtlColor(HDC dc) { return TControl::ReflectedCtlColor(dc); }

// ---------------------------------------------------------------------------------------
// TTimer

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, 1);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void TTimer::Update() {
  if (!window_) {
    Application();  // registers the window classes
    window_ = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              Application().Instance(), nullptr);
    if (!window_) throw Error("cannot create timer window");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  KillTimer(window_, 1);
  if (enabled_ && interval_ > 0) SetTimer(window_, 1, interval_, nullptr);
}

LRESULT CALLBACK TTimer::TimerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (timer && timer->enabled_ && timer->OnTimer) {
      try {
        timer->OnTimer(timer);
      } catch (const std::exception& error) {
        Application().HandleException(error);
      }
    }
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// ---------------------------------------------------------------------------------------
// TForm

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
    case TFormBorderStyle::bsDialog:
      params.style = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      params.ex_style = WS_EX_DLGMODALFRAME;
      break;
    case TFormBorderStyle::bsToolWindow:
      params.style = WS_CAPTION | WS_SYSMENU;
      params.ex_style = WS_EX_TOOLWINDOW;
      break;
    case TFormBorderStyle::bsSizeToolWin:
      params.style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      params.ex_style = WS_EX_TOOLWINDOW;
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
  const bool was = Visible();
  TControl::SetVisible(visible);
  if (HWND w = HandleIfCreated(); visible && w) {
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    if (!was && OnShow) OnShow(this);
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
      if (OnClose) OnClose(this);
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

// ---------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication() : TComponent(nullptr) {
  const HINSTANCE instance = Instance();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = &TControl::StaticWndProc;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpszClassName = kControlClass;
  RegisterClassExW(&wc);
  wc.style = CS_DBLCLKS;
  wc.lpszClassName = kFormClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassExW(&wc);
  wc.style = 0;
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kTimerClass;
  wc.lpfnWndProc = &TTimer::TimerProc;
  RegisterClassExW(&wc);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}

TApplication::~TApplication() { DestroyComponents(); }

HINSTANCE TApplication::Instance() const { return GetModuleHandleW(nullptr); }

HICON TApplication::Icon() const {
  HICON icon = LoadIconW(Instance(), L"MAINICON");
  return icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

int TApplication::Run() {
  if (main_form_) main_form_->Show();
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    if (top && TControl::FromHandle(top) && IsDialogMessageW(top, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int TApplication::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
  HWND owner = GetActiveWindow();
  if (!owner && main_form_) owner = main_form_->HandleIfCreated();
  return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags);
}

void TApplication::HandleException(const std::exception& error) {
  ShowMessageBox(error.what(), title_, MB_OK | MB_ICONSTOP);
}

TApplication& Application() {
  static TApplication app;
  return app;
}

}  // namespace quenlor::ui
