#include "ui/components/draw_tabs.h"

#include <objidl.h>
// GDI+ expects min and max from the platform headers.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cmath>

#include "ui/png/png_reader.h"

namespace quenlor::ui {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

void EnsureGdiplus() {
  static const bool started = [] {
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    return GdiplusStartup(&token, &input, nullptr) == Ok;
  }();
  (void)started;
}

// ---------------------------------------------------------------------------------------
// Items

void TDrawTabItem::Changed() {
  if (collection_) collection_->Changed();
}

int TDrawTabItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TDrawTabItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TDrawTabItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void TDrawTabItem::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

void TDrawTabItem::SetCanClose(bool can_close) {
  if (can_close == can_close_) return;
  can_close_ = can_close;
  Changed();
}

void TDrawTabItem::Assign(const TDrawTabItem& other) {
  caption_ = other.caption_;
  visible_ = other.visible_;
  can_close_ = other.can_close_;
  Changed();
}

TDrawTabItem& TDrawTabItems::Add(const std::string& caption) {
  items_.push_back(std::make_unique<TDrawTabItem>(this));
  TDrawTabItem& item = *items_.back();
  item.caption_ = caption;
  Changed();
  return item;
}

void TDrawTabItems::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  Changed();
}

void TDrawTabItems::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TDrawTabItems::Assign(const TDrawTabItems& other) {
  if (&other == this) return;
  items_.clear();
  for (const auto& source : other.items_) {
    items_.push_back(std::make_unique<TDrawTabItem>(this));
    items_.back()->caption_ = source->caption_;
    items_.back()->visible_ = source->visible_;
    items_.back()->can_close_ = source->can_close_;
  }
  Changed();
}

int TDrawTabItems::IndexOf(const TDrawTabItem* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)].get() == item) return i;
  return -1;
}

void TDrawTabItems::Changed() {
  if (strip_) strip_->ItemsChanged();
}

// ---------------------------------------------------------------------------------------
// The strip

namespace {
bool Contains(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
}  // namespace

TCustomDrawTabs::TCustomDrawTabs(TComponent* owner, TControl* parent)
    : TCustomControl(owner, parent), tabs_(this) {
  SetBoundsInternal(0, 0, 192, 32);
  SetDoubleBuffered(true);
}

void TCustomDrawTabs::ItemsChanged() {
  SetTabIndex(tab_index_);
  Invalidate();
}

void TCustomDrawTabs::SetTabIndex(int value) {
  value = std::max(value, -1);
  value = std::min(value, tabs_.Count() - 1);
  if (value == tab_index_) return;
  if (OnTabChange) OnTabChange(this, tab_index_, value);
  tab_index_ = value;
  Invalidate();
  if (value >= 0 && OnSelectItem) OnSelectItem(this);
}

void TCustomDrawTabs::SetDrawOrder(TDrawOrder order) {
  if (order == draw_order_) return;
  draw_order_ = order;
  Invalidate();
}

TDrawState TCustomDrawTabs::TabState(int index) const {
  TDrawState state = index == tab_index_ ? StateBit(dsDefaulted) : 0;
  if (index < 0 || index >= tabs_.Count()) return state;
  if (!tabs_.Items(index).Enabled()) return state | StateBit(dsDisabled);
  if (pressed_close_ >= 0) return state;
  if (pressed_tab_ >= 0 && pressed_tab_ != index) return state;
  if (index == pressed_tab_) state |= StateBit(dsPressed);
  if (index == hot_tab_) state |= StateBit(dsHot);
  return state;
}

TDrawState TCustomDrawTabs::CloseState(int index) const {
  TDrawState state = index == tab_index_ ? StateBit(dsDefaulted) : 0;
  if (index < 0 || index >= tabs_.Count()) return state;
  if (!tabs_.Items(index).Enabled()) return state | StateBit(dsDisabled);
  if (pressed_close_ >= 0 && pressed_close_ != index) return state;
  if (index == pressed_close_) state |= StateBit(dsPressed);
  if (index == hot_close_) state |= StateBit(dsHot);
  return state;
}

void TCustomDrawTabs::DrawItem(TCanvas& canvas, int index) {
  TDrawTabItem& item = tabs_.Items(index);
  if (OnDrawTab) OnDrawTab(this, canvas, index, item.tab_rect_, TabState(index));
  if (!Empty(item.close_rect_) && OnDrawClose) OnDrawClose(this, canvas, index, item.close_rect_, CloseState(index));
}

void TCustomDrawTabs::Paint(TCanvas& canvas) {
  const RECT client = ClientRect();
  if (OnDrawBackground) OnDrawBackground(this, canvas, client, dsPreProcess);
  TTabRects rects;
  std::vector<int> laid_out;
  for (int i = 0; i < tabs_.Count(); ++i) {
    TDrawTabItem& item = tabs_.Items(i);
    if (!item.Visible()) continue;
    rects.tab = {};
    rects.close = {};
    if (OnMeasureTab) OnMeasureTab(this, i, rects, TabState(i));
    item.tab_rect_ = rects.tab;
    item.close_rect_ = rects.close;
    rects.prior = rects.tab;
    laid_out.push_back(i);
  }
  if (draw_order_ == doRightToLeft) std::reverse(laid_out.begin(), laid_out.end());
  for (int i : laid_out)
    if (i != tab_index_) DrawItem(canvas, i);
  // The current tab last, on top of its neighbours.
  if (tab_index_ >= 0 && tab_index_ < tabs_.Count() && tabs_.Items(tab_index_).Visible())
    DrawItem(canvas, tab_index_);
  if (OnDrawBackground) OnDrawBackground(this, canvas, client, dsPostProcess);
}

void TCustomDrawTabs::MouseDown(TMouseButton button, UINT keys, int x, int y) {
  TCustomControl::MouseDown(button, keys, x, y);
  if (button != mbLeft) return;
  pressed_tab_ = -1;
  pressed_close_ = -1;
  for (int i = 0; i < tabs_.Count(); ++i) {
    const TDrawTabItem& item = tabs_.Items(i);
    if (!item.Visible() || !item.Enabled()) continue;
    if (Contains(item.CloseRect(), x, y)) {
      pressed_close_ = i;
      Invalidate();
    } else if (Contains(item.TabRect(), x, y)) {
      pressed_tab_ = i;
      break;
    }
  }
}

void TCustomDrawTabs::MouseUp(TMouseButton button, UINT keys, int x, int y) {
  TCustomControl::MouseUp(button, keys, x, y);
  if (button != mbLeft) return;
  int chosen = -1;
  for (int i = tabs_.Count() - 1; i >= 0; --i) {
    const TDrawTabItem& item = tabs_.Items(i);
    if (!item.Visible() || !item.Enabled()) continue;
    if (pressed_close_ < 0) {
      if (i == pressed_tab_ && Contains(item.TabRect(), x, y)) {
        chosen = i;
        break;
      }
    } else if (i == pressed_close_ && Contains(item.CloseRect(), x, y)) {
      pressed_tab_ = -1;
      pressed_close_ = -1;
      CloseTab(i);
      Invalidate();
      break;
    }
  }
  if (chosen >= 0) {
    pressed_tab_ = -1;
    pressed_close_ = -1;
    SetTabIndex(chosen);
  }
  if (pressed_close_ >= 0) {
    pressed_close_ = -1;
    Invalidate();
  }
  pressed_tab_ = -1;
}

void TCustomDrawTabs::MouseMove(UINT keys, int x, int y) {
  TCustomControl::MouseMove(keys, x, y);
  int hot_tab = -1, hot_close = -1;
  for (int i = 0; i < tabs_.Count(); ++i) {
    const TDrawTabItem& item = tabs_.Items(i);
    // Hidden tabs keep the rectangles of an earlier paint; they cannot be under the mouse.
    if (!item.Visible()) continue;
    if (Contains(item.CloseRect(), x, y)) {
      hot_close = i;
      break;
    }
    if (Contains(item.TabRect(), x, y)) {
      hot_tab = i;
      break;
    }
  }
  if (hot_tab != hot_tab_ || hot_close != hot_close_) {
    hot_tab_ = hot_tab;
    hot_close_ = hot_close;
    Invalidate();
  }
}

void TCustomDrawTabs::MouseLeave() {
  TCustomControl::MouseLeave();
  if (hot_tab_ != -1) {
    hot_tab_ = -1;
    Invalidate();
  }
}

void TCustomDrawTabs::CloseTab(int index) {
  if (index < 0 || index >= tabs_.Count()) return;
  TTabCloseAction action = taFree;
  if (OnCloseTab) OnCloseTab(this, index, action);
  if (action == taNone) return;
  tabs_.Items(index).SetVisible(false);
  const bool remove = action == taFree;
  if (tab_index_ == -1) {
    if (remove) tabs_.Delete(index);
    return;
  }
  auto selectable = [&](int i) { return tabs_.Items(i).Visible() && tabs_.Items(i).Enabled(); };
  for (int i = index + 1; i < tabs_.Count(); ++i) {
    if (!selectable(i)) continue;
    tab_index_ = -1;
    SetTabIndex(remove ? i - 1 : i);
    if (remove) tabs_.Delete(index);
    return;
  }
  for (int i = index - 1; i >= 0; --i) {
    if (!selectable(i)) continue;
    tab_index_ = -1;
    SetTabIndex(i);
    if (remove) tabs_.Delete(index);
    return;
  }
  if (remove) tabs_.Delete(index);
  if (tabs_.Count() == 0) tab_index_ = -1;
}

TDrawTabs::TDrawTabs(TComponent* owner, TControl* parent) : TCustomDrawTabs(owner, parent) {
  theme_ = &Add<TTabTheme>();
}

// ---------------------------------------------------------------------------------------
// The theme

namespace {

ARGB Argb(COLORREF c, BYTE alpha = 255) {
  return (ARGB{alpha} << 24) | (ARGB{GetRValue(c)} << 16) | (ARGB{GetGValue(c)} << 8) | GetBValue(c);
}

// s x K: each channel multiplied and rounded to the nearest integer.
COLORREF Scale(COLORREF c, double s) {
  auto ch = [&](int v) { return static_cast<BYTE>(std::clamp(static_cast<int>(std::lround(v * s)), 0, 255)); };
  return RGB(ch(GetRValue(c)), ch(GetGValue(c)), ch(GetBValue(c)));
}

template <class T, GpStatus (*Delete)(T*)>
struct GpDeleter {
  void operator()(T* p) const {
    if (p) Delete(p);
  }
};
using Graphics = std::unique_ptr<GpGraphics, GpDeleter<GpGraphics, GdipDeleteGraphics>>;
using GpPenPtr = std::unique_ptr<GpPen, GpDeleter<GpPen, GdipDeletePen>>;
using GpBrushPtr = std::unique_ptr<GpBrush, GpDeleter<GpBrush, GdipDeleteBrush>>;
using GpPathPtr = std::unique_ptr<GpPath, GpDeleter<GpPath, GdipDeletePath>>;

GpBrushPtr SolidBrush(COLORREF color) {
  GpSolidFill* brush = nullptr;
  GdipCreateSolidFill(Argb(color), &brush);
  return GpBrushPtr(brush);
}

GpBrushPtr VerticalGradient(const GpRectF& rect, COLORREF from, COLORREF to) {
  GpLineGradient* brush = nullptr;
  GdipCreateLineBrushFromRectWithAngle(&rect, Argb(from), Argb(to), 90.0f, FALSE, WrapModeTile, &brush);
  return GpBrushPtr(brush);
}

}  // namespace

struct TTabTheme::Drawing {
  Graphics graphics;
  GpPenPtr pen;
  GpBrushPtr brush;
};

// A close image as a premultiplied 32-bit bitmap for AlphaBlend.
struct TTabTheme::CloseImage {
  Bitmap bitmap;
  int width = 0;
  int height = 0;
};

namespace {
std::unique_ptr<Bitmap> LoadImageResource(int id, int& width, int& height) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_RCDATA));
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
  const DWORD size = SizeofResource(module, found);
  if (!bytes || size == 0) return nullptr;
  const auto image = png::Decode(bytes, size);
  if (!image) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(image->width);
  info.bmiHeader.biHeight = -static_cast<LONG>(image->height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return nullptr;
  auto* out = static_cast<std::uint8_t*>(bits);
  for (std::size_t i = 0; i < image->rgba.size(); i += 4) {
    const unsigned a = image->rgba[i + 3];
    out[i + 0] = static_cast<std::uint8_t>(image->rgba[i + 2] * a / 255);
    out[i + 1] = static_cast<std::uint8_t>(image->rgba[i + 1] * a / 255);
    out[i + 2] = static_cast<std::uint8_t>(image->rgba[i + 0] * a / 255);
    out[i + 3] = static_cast<std::uint8_t>(a);
  }
  width = static_cast<int>(image->width);
  height = static_cast<int>(image->height);
  return std::make_unique<Bitmap>(bitmap);
}
}  // namespace

TTabTheme::TTabTheme(TComponent* owner) : TComponent(owner) {
  EnsureGdiplus();
  for (int id : {kCloseNormal, kClosePressed, kCloseHot}) {
    auto image = std::make_unique<CloseImage>();
    if (auto bitmap = LoadImageResource(id, image->width, image->height)) image->bitmap = std::move(*bitmap);
    images_.push_back(std::move(image));
  }
  strip_ = dynamic_cast<TDrawTabs*>(owner);
  if (!strip_) return;
  strip_->OnDrawBackground = [this](TComponent*, TCanvas& canvas, const RECT& rect, TDrawStage stage) {
    DrawBackground(canvas, rect, stage);
  };
  strip_->OnDrawTab = [this](TComponent*, TCanvas& canvas, int index, const RECT& rect, TDrawState state) {
    DrawTab(canvas, index, rect, state);
  };
  strip_->OnDrawClose = [this](TComponent*, TCanvas& canvas, int index, const RECT& rect, TDrawState state) {
    DrawClose(canvas, index, rect, state);
  };
  strip_->OnMeasureTab = [this](TComponent*, int index, TTabRects& rects, TDrawState state) {
    MeasureTab(index, rects, state);
  };
}

TTabTheme::~TTabTheme() = default;

int TTabTheme::CloseImageWidth() const { return images_.empty() ? 0 : images_.front()->width; }

void TTabTheme::MeasureTab(int index, TTabRects& rects, TDrawState) {
  const std::string caption = strip_->Tabs().Items(index).Caption();
  WindowDc screen(strip_->HandleIfCreated());
  TCanvas canvas(screen.get());
  TFont bold = strip_->Font();
  bold.SetStyle(bold.Style() | fsBold);
  canvas.SetFont(bold);
  const SIZE extent = canvas.TextExtent(caption.empty() ? std::string(" ") : caption);
  const int height = strip_->Height();
  RECT& tab = rects.tab;
  // The first tab laid out starts at the left; the others overlap the one before by 12
  // pixels. (A hidden first tab leaves no rectangle to follow, so the next one starts.)
  const bool first = index == 0 || (rects.prior.left == 0 && rects.prior.top == 0 &&
                                    rects.prior.right == 0 && rects.prior.bottom == 0);
  if (first) {
    tab.left = 6;
    tab.top = height - extent.cy - 8;
    tab.bottom = height - 4;
  } else {
    tab = rects.prior;
    tab.left = rects.prior.right - 12;
  }
  tab.right = std::max<LONG>(tab.left + extent.cx + (tab.bottom - tab.top) + 20, tab.left + 5);
  rects.close = {};
  const TDrawTabItem& item = strip_->Tabs().Items(index);
  if (index == strip_->TabIndex() && item.CanClose()) {
    const RECT client = strip_->ClientRect();
    const int w = CloseImageWidth();
    rects.close.left = client.right - client.bottom;
    rects.close.right = rects.close.left + w;
    rects.close.top = (client.bottom - w) / 2 - 3;
    rects.close.bottom = rects.close.top + w;
  }
}

void TTabTheme::DrawBackground(TCanvas& canvas, const RECT& rect, TDrawStage stage) {
  const COLORREF k = ColorToRGB(strip_->Color());
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const GpRectF grown{static_cast<REAL>(rect.left - 1), static_cast<REAL>(rect.top - 1),
                      static_cast<REAL>(w + 2), static_cast<REAL>(h + 2)};
  if (stage == dsPreProcess) {
    drawing_ = std::make_unique<Drawing>();
    GpGraphics* graphics = nullptr;
    GdipCreateFromHDC(canvas.Handle(), &graphics);
    drawing_->graphics.reset(graphics);
    if (!graphics) return;
    GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias);
    GpPen* pen = nullptr;
    GdipCreatePen1(Argb(Scale(k, 0.7)), 1.0f, UnitPixel, &pen);
    drawing_->pen.reset(pen);
    GpLineGradient* brush = nullptr;
    GdipCreateLineBrushFromRectWithAngle(&grown, Argb(Scale(k, 0.9)), Argb(Scale(k, 0.7)), 90.0f, FALSE,
                                         WrapModeTile, &brush);
    if (brush) {
      const ARGB colors[] = {Argb(Scale(k, 0.9)), Argb(Scale(k, 0.9)), Argb(Scale(k, 0.7))};
      const REAL positions[] = {0.0f, 0.5f, 1.0f};
      GdipSetLinePresetBlend(brush, colors, positions, 3);
    }
    drawing_->brush.reset(brush);
    GpLineGradient* background = nullptr;
    GdipCreateLineBrushFromRect(&grown, Argb(ColorToRGB(clWindow)), Argb(k), LinearGradientModeHorizontal,
                                WrapModeTile, &background);
    GpBrushPtr owned(background);
    if (background) GdipFillRectangle(graphics, background, grown.X, grown.Y, grown.Width, grown.Height);
  } else if (stage == dsPostProcess) {
    if (drawing_ && drawing_->graphics) {
      const int current = strip_->TabIndex();
      if (current < 0 || !strip_->Tabs().Items(current).Visible()) {
        GpBrushPtr solid = SolidBrush(k);
        GdipFillRectangle(drawing_->graphics.get(), solid.get(), -1.0f, static_cast<REAL>(h - 4),
                          static_cast<REAL>(w + 2), 5.0f);
        GdipDrawRectangle(drawing_->graphics.get(), drawing_->pen.get(), -1.0f, static_cast<REAL>(h - 4),
                          static_cast<REAL>(w + 2), 5.0f);
      }
    }
    drawing_.reset();
  }
}

void TTabTheme::DrawTab(TCanvas& canvas, int index, const RECT& rect, TDrawState state) {
  if (!drawing_ || !drawing_->graphics) return;
  GpGraphics* g = drawing_->graphics.get();
  const COLORREF k = ColorToRGB(strip_->Color());
  const RECT client = strip_->ClientRect();
  const auto W = static_cast<REAL>(client.right), H = static_cast<REAL>(client.bottom);
  const bool current = index == strip_->TabIndex();
  GpBrushPtr band_fill;
  const GpRectF band{-1.0f, static_cast<REAL>(rect.bottom), W + 2, H - static_cast<REAL>(rect.bottom)};
  if (current) {
    const GpRectF over{-1.0f, 0.0f, W + 2, H - 10};
    band_fill = VerticalGradient(over, ColorToRGB(clWindow), Blend(clBtnShadow, clBtnFace, 50));
    GdipFillRectangle(g, band_fill.get(), band.X, band.Y, band.Width, band.Height);
    GdipDrawRectangle(g, drawing_->pen.get(), band.X, band.Y, band.Width, band.Height);
  }
  GpBrush* fill = current ? band_fill.get() : drawing_->brush.get();

  // The outline: a foot flared to the left, a side rising at 45 degrees, a round top-left
  // corner of radius 12, a small round top-right corner and a straight right side,
  // reaching 10 pixels below the tab's rectangle.
  const REAL w = static_cast<REAL>(rect.right - rect.left), h = static_cast<REAL>(rect.bottom - rect.top);
  const REAL d = 24.0f;
  const REAL kk = d / std::sqrt(2.0f) - d;
  GpPath* raw_path = nullptr;
  GdipCreatePath(FillModeAlternate, &raw_path);
  GpPathPtr path(raw_path);
  if (path) {
    GdipAddPathLine(raw_path, 0, h + 10, 0, h);
    GdipAddPathArc(raw_path, -d / 2, h - d, d, d, 90, -45);
    GdipAddPathArc(raw_path, h + kk + (std::sqrt(2.0f) * d - d) / 2, 0, d, d, 225, 45);
    GdipAddPathArc(raw_path, w + kk, 0, d / 3, d / 3, 270, 90);
    GdipAddPathLine(raw_path, w + kk + d / 3, h + 10, w + kk - 10, h + 10);
    GdipClosePathFigure(raw_path);
    GpMatrix* matrix = nullptr;
    GdipCreateMatrix2(1, 0, 0, 1, static_cast<REAL>(rect.left), static_cast<REAL>(rect.top), &matrix);
    if (matrix) {
      GdipTransformPath(raw_path, matrix);
      GdipDeleteMatrix(matrix);
    }
    if (fill) GdipFillPath(g, fill, raw_path);
    GdipDrawPath(g, drawing_->pen.get(), raw_path);
  }
  if (current) {
    GpBrushPtr solid = SolidBrush(k);
    GdipFillRectangle(g, solid.get(), band.X, band.Y + 0.5f, band.Width, band.Height);
    // K is the theme brush from here on.
    drawing_->brush = std::move(solid);
  }
  GdipFlush(g, FlushIntentionSync);

  // The caption, right of the rising side.
  const TDrawTabItem& item = strip_->Tabs().Items(index);
  RECT text{rect.left + (rect.bottom - rect.top) + 2, rect.top, rect.right, rect.bottom};
  TFont font = strip_->Font();
  if (current) font.SetStyle(font.Style() | fsBold);
  const UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS;
  if (HasState(state, dsDisabled)) {
    font.SetColor(clBtnHighlight);
    canvas.SetFont(font);
    RECT shadow = text;
    OffsetRect(&shadow, 1, 1);
    canvas.DrawString(item.Caption(), shadow, format);
    font.SetColor(clGrayText);
  } else if (HasState(state, dsHot)) {
    font.SetColor(Blend(clHighlightText, clWindowText, 50));
  } else {
    font.SetColor(clWindowText);
  }
  canvas.SetFont(font);
  canvas.DrawString(item.Caption(), text, format);
}

void TTabTheme::DrawClose(TCanvas& canvas, int, const RECT& rect, TDrawState state) {
  std::size_t which = 0;  // 8831
  if (HasState(state, dsHot)) which = HasState(state, dsPressed) ? 1 : 2;  // 8832 : 8833
  if (which >= images_.size()) return;
  const CloseImage& image = *images_[which];
  if (!image.bitmap) return;
  if (drawing_ && drawing_->graphics) GdipFlush(drawing_->graphics.get(), FlushIntentionSync);
  MemoryDc memory(canvas.Handle());
  SelectGuard select(memory.get(), image.bitmap.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(canvas.Handle(), rect.left, rect.top, image.width, image.height, memory.get(), 0, 0, image.width,
             image.height, blend);
}

}  // namespace quenlor::ui
