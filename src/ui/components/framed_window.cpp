#include "ui/components/framed_window.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "ui/components/grip_form.h"

namespace quenlor::ui {

TFramedWindow::TFramedWindow(TComponent* owner, TControl* parent) : TProviderCustomControl(owner, parent) {
  SetBoundsInternal(0, 0, 96, 96);
}

void TFramedWindow::CreateParams(TCreateParams& params) {
  TProviderCustomControl::CreateParams(params);
  params.style &= ~static_cast<DWORD>(WS_BORDER);
  params.style |= WS_CLIPCHILDREN;
  params.ex_style |= WS_EX_CONTROLPARENT;
  if (border_style_ == TBorderStyle::bsSingle) params.ex_style |= WS_EX_CLIENTEDGE;
}

void TFramedWindow::SetBorderStyle(TBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  RecreateWnd();
  if (Parent()) Parent()->Realign();
}

LRESULT TFramedWindow::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCPAINT) {
    TProviderCustomControl::WndProc(message, wparam, lparam);
    PaintFrame();
    return 0;
  }
  return TProviderCustomControl::WndProc(message, wparam, lparam);
}

void TFramedWindow::Hover(TControl* control) {
  TProviderCustomControl::Hover(control);
  // The styled border has a hot look while the mouse is inside.
  if (HWND w = HandleIfCreated(); w && VisualStylesActive())
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TFramedWindow::PaintFrame() {
  HWND w = HandleIfCreated();
  if (!w || !(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return;
  RECT bounds;
  GetWindowRect(w, &bounds);
  POINT cursor{};
  GetCursorPos(&cursor);
  const bool hot = PtInRect(&bounds, cursor) != FALSE;
  OffsetRect(&bounds, -bounds.left, -bounds.top);
  WindowDc dc(w, true);
  const int saved = SaveDC(dc.get());
  // Only the two-pixel ring of the client edge is painted.
  ExcludeClipRect(dc.get(), bounds.left + 2, bounds.top + 2, bounds.right - 2, bounds.bottom - 2);
  bool drawn = false;
  if (VisualStylesActive()) {
    if (HTHEME theme = OpenThemeData(w, L"EDIT")) {
      const int state = !Enabled() ? EPSN_DISABLED : hot ? EPSN_HOT : EPSN_NORMAL;
      drawn = SUCCEEDED(DrawThemeBackground(theme, dc.get(), EP_EDITBORDER_NOSCROLL, state, &bounds, nullptr));
      CloseThemeData(theme);
    }
  }
  if (!drawn) {
    auto line = [&](int x1, int y1, int x2, int y2, TColor color) {
      Pen pen(CreatePen(PS_SOLID, 1, ColorToRGB(color)));
      SelectGuard select(dc.get(), pen.get());
      MoveToEx(dc.get(), x1, y1, nullptr);
      LineTo(dc.get(), x2, y2);
    };
    const RECT& r = bounds;
    // Outer line: shadow top and left, highlight bottom and right.
    line(r.left, r.bottom - 1, r.left, r.top, clBtnShadow);
    line(r.left, r.top, r.right - 1, r.top, clBtnShadow);
    line(r.right - 1, r.top, r.right - 1, r.bottom - 1, clBtnHighlight);
    line(r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, clBtnHighlight);
    // Inner line: dark shadow top and left, light bottom and right.
    line(r.left + 1, r.bottom - 2, r.left + 1, r.top + 1, cl3DDkShadow);
    line(r.left + 1, r.top + 1, r.right - 2, r.top + 1, cl3DDkShadow);
    line(r.right - 2, r.top + 1, r.right - 2, r.bottom - 2, cl3DLight);
    line(r.right - 2, r.bottom - 2, r.left, r.bottom - 2, cl3DLight);
  }
  RestoreDC(dc.get(), saved);
}

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), handle_(ImageList_Create(width, height, ILC_COLOR32, 4, 4)) {}

TImageList::~TImageList() {
  // Watchers forget the list before it goes.
  for (TChangeLink* link : std::vector<TChangeLink*>(links_))
    if (link->OnDestroyed) link->OnDestroyed();
  if (handle_) ImageList_Destroy(handle_);
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::Add(HBITMAP bitmap) {
  const int index = handle_ ? ImageList_Add(handle_, bitmap, nullptr) : -1;
  Changed();
  return index;
}

void TImageList::RegisterChanges(TChangeLink* link) {
  if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TImageList::UnRegisterChanges(TChangeLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TImageList::Changed() {
  for (TChangeLink* link : std::vector<TChangeLink*>(links_))
    if (link->OnChange) link->OnChange();
}

TFramedImagesWindow::TFramedImagesWindow(TComponent* owner, TControl* parent)
    : TFramedWindow(owner, parent), link_(std::make_unique<TChangeLink>()) {
  link_->OnChange = [this] { Invalidate(); };
  link_->OnDestroyed = [this] {
    images_->UnRegisterChanges(link_.get());
    images_ = nullptr;
    Invalidate();
  };
}

TFramedImagesWindow::~TFramedImagesWindow() { SetImages(nullptr); }

void TFramedImagesWindow::SetImages(TImageList* images) {
  if (images == images_) return;
  if (images_) images_->UnRegisterChanges(link_.get());
  images_ = images;
  if (images_) images_->RegisterChanges(link_.get());
  Invalidate();
}

void TFramedImagesWindow::SetImageIndex(int index) {
  index = std::max(index, -1);
  if (index == image_index_) return;
  image_index_ = index;
  Invalidate();
}

}  // namespace quenlor::ui
