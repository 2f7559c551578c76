#include "ui/components/grip_form.h"

#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

#include <algorithm>

namespace quenlor::ui {

bool VisualStylesActive() { return IsAppThemed() && IsThemeActive(); }

TGripForm::TGripForm(TComponent* owner) : TVersionForm(owner) {}

void TGripForm::CreateParams(TCreateParams& params) {
  TVersionForm::CreateParams(params);
  params.style |= WS_THICKFRAME;
  if (auto* owner_control = dynamic_cast<TControl*>(Owner()))
    params.parent_window = owner_control->Handle();
}

void TGripForm::Loaded() {
  TVersionForm::Loaded();
  SetIcon(Application().Icon());
  // The desktop's font for the form; labels with fonts of their own take its face and keep
  // their style, height and colour.
  SetFont(TFont::DesktopFont());
  for (std::size_t i = 0; i < ComponentCount(); ++i) {
    auto* label = dynamic_cast<TLabel*>(Components(i));
    if (!label || label->Font() == Font()) continue;
    TFont font = Font();
    font.SetStyle(label->Font().Style());
    font.SetHeight(label->Font().Height());
    font.SetColor(label->Font().Color());
    label->SetFont(font);
  }
  grip_visible_ = true;
  grip_box_ = &Add<TPaintBox>(this);
  grip_box_->SetBounds(ClientWidth() - kGripSize, ClientHeight() - kGripSize, kGripSize, kGripSize);
  grip_box_->SetAnchors(akRight | akBottom);
  grip_box_->OnPaint = [this](TComponent*, TCanvas& canvas) { PaintGrip(canvas); };
  FitToControls();
}

void TGripForm::FitToControls() {
  saved_anchors_.clear();
  for (TControl* child : Controls()) {
    saved_anchors_.emplace_back(child, child->Anchors());
    if (child != grip_box_) child->SetAnchors(akLeft | akTop);
  }
  const SIZE margins = GetMargins();
  int width = 100, height = 100;
  SetMinWidth(100);
  SetMinHeight(100);
  for (TControl* child : Controls()) {
    if (!child->Visible() || child->Parent() != this || child == grip_box_ || child->ExcludedFromFit())
      continue;
    width = std::max(width, child->Left() + child->Width() + static_cast<int>(margins.cx));
    height = std::max(height, child->Top() + child->Height() + static_cast<int>(margins.cy));
  }
  SetClientSize(width, height);
  SetMinimumSize(Width(), Height());
  for (auto& [child, anchors] : saved_anchors_)
    if (child != grip_box_) child->SetAnchors(anchors);
  saved_anchors_.clear();
}

void TGripForm::SetMinimumSize(int width, int height) {
  SetBounds(Left(), Top(), width, height);
  SetMinWidth(width);
  SetMinHeight(height);
}

void TGripForm::SetGripVisible(bool visible) {
  grip_visible_ = visible;
  if (grip_box_) grip_box_->Invalidate();
}

bool TGripForm::Handles() const {
  const TFormBorderStyle style = BorderStyle();
  return grip_visible_ && style != TFormBorderStyle::bsNone && style != TFormBorderStyle::bsSingle;
}

void TGripForm::PaintGrip(TCanvas& canvas) {
  if (!grip_visible_ || !grip_box_) return;
  RECT r = grip_box_->ClientRect();
  r.left = r.right - GetSystemMetrics(SM_CXVSCROLL);
  if (VisualStylesActive()) {
    if (HTHEME theme = OpenThemeData(grip_box_->HandleIfCreated(), L"STATUS")) {
      DrawThemeBackground(theme, canvas.Handle(), SP_GRIPPER, 1, &r, nullptr);
      CloseThemeData(theme);
      return;
    }
  }
  r.top = r.bottom - GetSystemMetrics(SM_CYHSCROLL);
  DrawFrameControl(canvas.Handle(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

LRESULT TGripForm::HitTest(LPARAM lparam) {
  POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  ScreenToClient(HandleIfCreated(), &p);
  if (p.x > ClientWidth() - kGripSize && p.y > ClientHeight() - kGripSize) return HTBOTTOMRIGHT;
  return TVersionForm::WndProc(WM_NCHITTEST, 0, lparam);
}

LRESULT TGripForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCHITTEST:
      if (Handles()) return HitTest(lparam);
      break;
    case WM_NCLBUTTONDOWN:
      if (Handles()) {
        drag_hit_ = static_cast<int>(WndProc(WM_NCHITTEST, 0, lparam));
        if (drag_hit_ >= HTLEFT && drag_hit_ <= HTBOTTOMRIGHT) {
          GetWindowRect(HandleIfCreated(), &drag_rect_);
          SetCapture(HandleIfCreated());
        } else {
          drag_hit_ = 0;
        }
      }
      break;
    case WM_CAPTURECHANGED:
      drag_hit_ = 0;
      break;
    case WM_MOUSEMOVE:
      if (Handles() && drag_hit_ >= 1) {
        const int xc = GET_X_LPARAM(lparam);
        POINT p{xc, GET_Y_LPARAM(lparam)};
        ClientToScreen(HandleIfCreated(), &p);
        const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
        const RECT d = drag_rect_;
        RECT now;
        GetWindowRect(HandleIfCreated(), &now);
        int l = now.left, t = now.top, w = now.right - now.left, h = now.bottom - now.top;
        bool move = true;
        switch (drag_hit_) {
          case HTLEFT:
            if ((move = p.x < d.left)) { l = p.x; w = d.right - p.x; }
            break;
          case HTRIGHT:
            w = xc + fx;
            break;
          case HTTOP:
            if ((move = p.y < d.top)) { t = p.y; h = d.bottom - p.y; }
            break;
          case HTTOPLEFT:
            p.x = std::min(p.x, d.left);
            p.y = std::min(p.y, d.top);
            l = p.x; t = p.y; w = d.right - p.x; h = d.bottom - p.y;
            break;
          case HTTOPRIGHT:
            p.y = std::min(p.y, d.top);
            t = p.y; w = xc - fx; h = d.bottom - p.y;
            break;
          case HTBOTTOM:
            h = p.y - d.top;
            break;
          case HTBOTTOMLEFT:
            p.x = std::min(p.x, d.left);
            l = p.x; w = d.right - p.x; h = p.y - d.top;
            break;
          case HTBOTTOMRIGHT:
            w = xc + 2 * fx;
            h = p.y - d.top + fy;
            break;
          default:
            move = false;
            break;
        }
        if (move) SetWindowPos(HandleIfCreated(), nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    default:
      break;
  }
  return TVersionForm::WndProc(message, wparam, lparam);
}

}  // namespace quenlor::ui
