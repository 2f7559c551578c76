// A horizontal strip of tabs that the program draws itself. The strip keeps the tabs, the
// current tab and the mouse state; measuring and drawing are events, which the strip's
// TTabTheme takes over to give it its look (flared tabs, the current one on top).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/framework/controls.h"

namespace quenlor::ui {

enum TDrawOrder { doLeftToRight, doRightToLeft };
enum TTabCloseAction { taNone, taHide, taFree };
enum TDrawStage { dsPreProcess, dsProcessing, dsPostProcess };
enum TDrawStateItem {
  dsDisabled, dsPressed, dsSelected, dsHot, dsFocused, dsChecked, dsExpanded, dsDefaulted,
  dsThin, dsFlat, dsBackground,
};
// A set of TDrawStateItem, one bit per member from bit 0.
using TDrawState = std::uint16_t;
constexpr TDrawState StateBit(TDrawStateItem item) { return static_cast<TDrawState>(1u << item); }
constexpr bool HasState(TDrawState state, TDrawStateItem item) { return (state & StateBit(item)) != 0; }

// The layout record of one tab: the tab laid out before it, its own rectangle and its
// close-button rectangle.
struct TTabRects {
  RECT prior{};
  RECT tab{};
  RECT close{};
};

class TCustomDrawTabs;
class TDrawTabItems;

class TDrawTabItem {
 public:
  explicit TDrawTabItem(TDrawTabItems* collection) : collection_(collection) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool CanClose() const { return can_close_; }
  void SetCanClose(bool can_close);
  // Copies Caption, Visible and CanClose (not Enabled), then notifies once.
  void Assign(const TDrawTabItem& other);
  int Index() const;

  // As laid out by the last paint; empty until then.
  const RECT& TabRect() const { return tab_rect_; }
  const RECT& CloseRect() const { return close_rect_; }

 private:
  friend class TCustomDrawTabs;
  friend class TDrawTabItems;
  void Changed();
  TDrawTabItems* collection_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  bool can_close_ = false;
  RECT tab_rect_{};
  RECT close_rect_{};
};

class TDrawTabItems {
 public:
  explicit TDrawTabItems(TCustomDrawTabs* strip) : strip_(strip) {}
  TDrawTabItems(const TDrawTabItems&) = delete;
  TDrawTabItems& operator=(const TDrawTabItems&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TDrawTabItem& Items(int index) { return *items_.at(static_cast<std::size_t>(index)); }
  const TDrawTabItem& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
  TDrawTabItem& operator[](int index) { return Items(index); }
  TDrawTabItem& Add(const std::string& caption = "");
  void Delete(int index);
  void Clear();
  // Replaces the items by copies of the other collection's.
  void Assign(const TDrawTabItems& other);
  int IndexOf(const TDrawTabItem* item) const;

 private:
  friend class TDrawTabItem;
  void Changed();
  TCustomDrawTabs* strip_;
  std::vector<std::unique_ptr<TDrawTabItem>> items_;
};

class TCustomDrawTabs : public TCustomControl {
 public:
  TCustomDrawTabs(TComponent* owner, TControl* parent);

  TDrawTabItems& Tabs() { return tabs_; }
  void SetTabs(const TDrawTabItems& tabs) { tabs_.Assign(tabs); }
  int TabIndex() const { return tab_index_; }
  void SetTabIndex(int value);
  TDrawOrder DrawOrder() const { return draw_order_; }
  void SetDrawOrder(TDrawOrder order);

  int PressedTab() const { return pressed_tab_; }
  int PressedClose() const { return pressed_close_; }
  int HotTab() const { return hot_tab_; }
  int HotClose() const { return hot_close_; }

  TDrawState TabState(int index) const;
  TDrawState CloseState(int index) const;
  // Runs the close rules for tab index, as a click on its close button does.
  void CloseTab(int index);

  TNotifyEvent OnSelectItem;
  std::function<void(TComponent* sender, int old_index, int new_index)> OnTabChange;
  std::function<void(TComponent* sender, int index, TTabCloseAction& action)> OnCloseTab;
  std::function<void(TComponent* sender, TCanvas& canvas, const RECT& rect, TDrawStage stage)> OnDrawBackground;
  std::function<void(TComponent* sender, TCanvas& canvas, int index, const RECT& rect, TDrawState state)> OnDrawTab;
  std::function<void(TComponent* sender, TCanvas& canvas, int index, const RECT& rect, TDrawState state)> OnDrawClose;
  std::function<void(TComponent* sender, int index, TTabRects& rects, TDrawState state)> OnMeasureTab;

 protected:
  void Paint(TCanvas& canvas) override;
  bool PaintsWholeClient() const override { return true; }
  void MouseDown(TMouseButton button, UINT keys, int x, int y) override;
  void MouseUp(TMouseButton button, UINT keys, int x, int y) override;
  void MouseMove(UINT keys, int x, int y) override;
  void MouseLeave() override;

 private:
  friend class TDrawTabItems;
  void ItemsChanged();
  void DrawItem(TCanvas& canvas, int index);

  TDrawTabItems tabs_;
  int tab_index_ = -1;
  TDrawOrder draw_order_ = doRightToLeft;
  int pressed_tab_ = -1, pressed_close_ = -1, hot_tab_ = -1, hot_close_ = -1;
};

class TTabTheme;

// The strip with its theme attached.
class TDrawTabs : public TCustomDrawTabs {
 public:
  TDrawTabs(TComponent* owner, TControl* parent);
  TTabTheme& Theme() { return *theme_; }

 private:
  TTabTheme* theme_;
};

// Gives a TDrawTabs its look: measures the tabs and draws the background, the tabs and
// the close buttons with anti-aliased paths and gradients.
class TTabTheme : public TComponent {
 public:
  static constexpr int kCloseNormal = 8831;   // mouse not over the button
  static constexpr int kClosePressed = 8832;  // mouse over and pressed
  static constexpr int kCloseHot = 8833;      // mouse over, not pressed

  explicit TTabTheme(TComponent* owner);
  ~TTabTheme() override;

  // Width of the close images (14 when the resources are there).
  int CloseImageWidth() const;

 private:
  struct Drawing;
  struct CloseImage;
  void DrawBackground(TCanvas& canvas, const RECT& rect, TDrawStage stage);
  void DrawTab(TCanvas& canvas, int index, const RECT& rect, TDrawState state);
  void DrawClose(TCanvas& canvas, int index, const RECT& rect, TDrawState state);
  void MeasureTab(int index, TTabRects& rects, TDrawState state);

  TCustomDrawTabs* strip_ = nullptr;
  std::unique_ptr<Drawing> drawing_;
  std::vector<std::unique_ptr<CloseImage>> images_;
};

// Starts GDI+ once for the process.
void EnsureGdiplus();

}  // namespace quenlor::ui
