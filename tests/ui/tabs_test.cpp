// The tab strip: TabIndex rules and events, the mouse rules, closing tabs, layout and the
// theme's drawing, read back from the strip's own device context.
#include <string>
#include <vector>

#include "ui/components/draw_tabs.h"
#include "ui_test_support.h"

namespace quenlor::ui {
namespace {

using testing::Click;
using testing::Near;
using testing::PixelAt;
using testing::Press;
using testing::Release;

class TabsTest : public testing::UiTest {
 protected:
  TDrawTabs& MakeStrip(std::vector<std::string> captions, int width = 400) {
    auto& strip = host_->Add<TDrawTabs>(host_);
    strip.SetBounds(10, 10, width, 32);
    for (const auto& c : captions) strip.Tabs().Add(c);
    strip.OnTabChange = [this, &strip](TComponent*, int old_index, int new_index) {
      events_.push_back("change " + std::to_string(old_index) + ">" + std::to_string(new_index) +
                        " at " + std::to_string(strip.TabIndex()));
    };
    strip.OnSelectItem = [this, &strip](TComponent*) { events_.push_back("select at " + std::to_string(strip.TabIndex())); };
    return strip;
  }
  POINT Middle(TDrawTabs& strip, int i) {
    const RECT r = strip.Tabs()[i].TabRect();
    // Right of the overlap with the next tab and below the rounded top.
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  std::vector<std::string> events_;
};

TEST_F(TabsTest, TabIndexIsClampedAndRaisesItsEventsInOrder) {
  auto& strip = MakeStrip({"Source", "XML"});
  EXPECT_EQ(strip.TabIndex(), -1);
  strip.SetTabIndex(5);
  EXPECT_EQ(strip.TabIndex(), 1);
  strip.SetTabIndex(1);  // the current value: nothing happens
  strip.SetTabIndex(-7);
  EXPECT_EQ(strip.TabIndex(), -1);
  strip.SetTabIndex(0);
  EXPECT_EQ(events_, (std::vector<std::string>{"change -1>1 at -1", "select at 1", "change 1>-1 at 1",
                                               "change -1>0 at -1", "select at 0"}));
  // Removing items clamps the current tab through the collection's notification.
  events_.clear();
  strip.SetTabIndex(1);
  strip.Tabs().Delete(1);
  EXPECT_EQ(strip.TabIndex(), 0);
  strip.Tabs().Clear();
  EXPECT_EQ(strip.TabIndex(), -1);
  EXPECT_EQ(events_, (std::vector<std::string>{"change 0>1 at 0", "select at 1", "change 1>0 at 1", "select at 0",
                                               "change 0>-1 at 0"}));
}

TEST_F(TabsTest, ItemPropertiesNotifyOnlyOnChangeAndAssignKeepsEnabled) {
  auto& strip = MakeStrip({"A", "B"});
  TDrawTabItem& a = strip.Tabs()[0];
  a.SetEnabled(false);
  TDrawTabItem& b = strip.Tabs()[1];
  b.SetCanClose(true);
  b.SetCaption("Bee");
  a.Assign(b);
  EXPECT_EQ(a.Caption(), "Bee");
  EXPECT_TRUE(a.CanClose());
  EXPECT_FALSE(a.Enabled());
  // Assigning a whole collection copies the items.
  auto& other = MakeStrip({});
  other.SetTabs(strip.Tabs());
  ASSERT_EQ(other.Tabs().Count(), 2);
  EXPECT_EQ(other.Tabs()[0].Caption(), "Bee");
}

TEST_F(TabsTest, LayoutOverlapsTwelvePixelsAndMeasuresEmptyCaptionsAsOneBlank) {
  auto& strip = MakeStrip({"Source", "", "XML"});
  strip.SetTabIndex(0);
  ShowAndPaint();
  TCanvas canvas(GetDC(nullptr));
  TFont bold = strip.Font();
  bold.SetStyle(fsBold);
  canvas.SetFont(bold);
  const SIZE source = canvas.TextExtent("Source");
  const SIZE blank = canvas.TextExtent(" ");
  const SIZE xml = canvas.TextExtent("XML");
  ReleaseDC(nullptr, canvas.Handle());

  const RECT r0 = strip.Tabs()[0].TabRect();
  EXPECT_EQ(r0.left, 6);
  EXPECT_EQ(r0.top, 32 - source.cy - 8);
  EXPECT_EQ(r0.bottom, 32 - 4);
  const int h = r0.bottom - r0.top;
  EXPECT_EQ(r0.right, 6 + source.cx + h + 20);
  const RECT r1 = strip.Tabs()[1].TabRect();
  EXPECT_EQ(r1.left, r0.right - 12);
  EXPECT_EQ(r1.top, r0.top);
  EXPECT_EQ(r1.right, r1.left + blank.cx + h + 20);
  const RECT r2 = strip.Tabs()[2].TabRect();
  EXPECT_EQ(r2.left, r1.right - 12);
  EXPECT_EQ(r2.right, r2.left + xml.cx + h + 20);

  // A hidden tab takes no room; a disabled one keeps its place.
  strip.Tabs()[1].SetVisible(false);
  strip.Tabs()[0].SetEnabled(false);
  strip.Repaint();
  EXPECT_EQ(strip.Tabs()[2].TabRect().left, r0.right - 12);
  EXPECT_EQ(strip.Tabs()[0].TabRect().left, 6);

  // With the first tab hidden, the next one starts where the first would.
  strip.Tabs()[0].SetVisible(false);
  strip.Repaint();
  EXPECT_EQ(strip.Tabs()[2].TabRect().left, 6);
  EXPECT_EQ(strip.Tabs()[2].TabRect().bottom, 28);
}

TEST_F(TabsTest, TabIsChosenOnlyWhenPressedAndReleasedOverIt) {
  auto& strip = MakeStrip({"Source", "XML", "Off"});
  strip.Tabs()[2].SetEnabled(false);
  strip.SetTabIndex(0);
  ShowAndPaint();
  events_.clear();
  HWND w = strip.Handle();
  const POINT p0 = Middle(strip, 0), p1 = Middle(strip, 1), p2 = Middle(strip, 2);
  Press(w, p0.x, p0.y);
  EXPECT_EQ(strip.PressedTab(), 0);
  EXPECT_TRUE(HasState(strip.TabState(0), dsPressed));
  EXPECT_EQ(strip.TabState(1), 0);  // another tab pressed: no hot or pressed state
  testing::MoveTo(w, p1.x, p1.y);
  Release(w, p1.x, p1.y);
  EXPECT_EQ(strip.TabIndex(), 0);
  EXPECT_EQ(strip.PressedTab(), -1);
  EXPECT_TRUE(events_.empty());

  Click(w, p1.x, p1.y);
  EXPECT_EQ(strip.TabIndex(), 1);
  EXPECT_EQ(events_, (std::vector<std::string>{"change 0>1 at 0", "select at 1"}));

  // A disabled tab is drawn but cannot be chosen; the right button chooses nothing.
  Click(w, p2.x, p2.y);
  EXPECT_EQ(strip.TabIndex(), 1);
  EXPECT_TRUE(HasState(strip.TabState(2), dsDisabled));
  SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p0.x, p0.y));
  SendMessageW(w, WM_RBUTTONUP, 0, MAKELPARAM(p0.x, p0.y));
  EXPECT_EQ(strip.TabIndex(), 1);

  // Hot tracking follows the mouse and ends when it leaves.
  testing::MoveTo(w, p0.x, p0.y);
  EXPECT_EQ(strip.HotTab(), 0);
  EXPECT_TRUE(HasState(strip.TabState(0), dsHot));
  EXPECT_TRUE(HasState(strip.TabState(1), dsDefaulted));
  SendMessageW(w, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(strip.HotTab(), -1);
}

TEST_F(TabsTest, ClosingTabsWithEachAction) {
  auto& strip = MakeStrip({"X", "Y", "Z"});
  for (int i = 0; i < 3; ++i) strip.Tabs()[i].SetCanClose(true);
  TTabCloseAction answer = taFree;
  std::vector<int> closed;
  strip.OnCloseTab = [&](TComponent*, int index, TTabCloseAction& action) {
    EXPECT_EQ(action, taFree);
    closed.push_back(index);
    action = answer;
  };
  strip.SetTabIndex(2);
  ShowAndPaint();
  HWND w = strip.Handle();
  // The close button: at the right end of the strip, for the current tab only.
  const RECT close = strip.Tabs()[2].CloseRect();
  EXPECT_EQ(close.left, 400 - 32);
  EXPECT_EQ(close.right, close.left + 14);
  EXPECT_EQ(close.top, (32 - 14) / 2 - 3);
  EXPECT_EQ(close.bottom, close.top + 14);
  EXPECT_TRUE(IsRectEmpty(&strip.Tabs()[1].CloseRect()));

  // Closing Z (the last) with taFree selects Y and removes Z; the old index is -1.
  events_.clear();
  Press(w, close.left + 7, close.top + 7);
  EXPECT_EQ(strip.PressedClose(), 2);
  EXPECT_TRUE(HasState(strip.CloseState(2), dsPressed));
  Release(w, close.left + 7, close.top + 7);
  EXPECT_EQ(closed, (std::vector<int>{2}));
  ASSERT_EQ(strip.Tabs().Count(), 2);
  EXPECT_EQ(strip.TabIndex(), 1);
  EXPECT_EQ(strip.Tabs()[1].Caption(), "Y");
  EXPECT_EQ(events_, (std::vector<std::string>{"change -1>1 at -1", "select at 1"}));

  // Closing Y (current, Z after it) with taHide selects Z and keeps Y hidden.
  strip.Tabs().Add("Z").SetCanClose(true);
  answer = taHide;
  strip.CloseTab(1);
  EXPECT_EQ(strip.TabIndex(), 2);
  EXPECT_EQ(strip.Tabs().Count(), 3);
  EXPECT_FALSE(strip.Tabs()[1].Visible());

  // taNone keeps everything.
  answer = taNone;
  strip.CloseTab(2);
  EXPECT_EQ(strip.TabIndex(), 2);
  EXPECT_TRUE(strip.Tabs()[2].Visible());

  // taFree of a tab in the middle: the next visible tab is chosen, counted after removal.
  strip.Tabs()[1].SetVisible(true);
  strip.SetTabIndex(1);
  answer = taFree;
  strip.CloseTab(1);
  EXPECT_EQ(strip.Tabs().Count(), 2);
  EXPECT_EQ(strip.TabIndex(), 1);
  EXPECT_EQ(strip.Tabs()[1].Caption(), "Z");

  // The last tab closed with taFree: the strip is empty and has no current tab.
  strip.Tabs().Delete(0);
  strip.CloseTab(0);
  EXPECT_EQ(strip.Tabs().Count(), 0);
  EXPECT_EQ(strip.TabIndex(), -1);

  // Press on the close button, release elsewhere: nothing closes.
  strip.Tabs().Add("A").SetCanClose(true);
  strip.SetTabIndex(0);
  strip.Repaint();
  closed.clear();
  const RECT c2 = strip.Tabs()[0].CloseRect();
  Press(w, c2.left + 7, c2.top + 7);
  Release(w, 2, 2);
  EXPECT_TRUE(closed.empty());
  EXPECT_EQ(strip.PressedClose(), -1);
}

TEST_F(TabsTest, PaintMeasuresInOrderAndDrawsTheCurrentTabLast) {
  // A strip without a theme: its events show the order of a paint.
  auto& strip = host_->Add<TCustomDrawTabs>(host_);
  strip.SetBounds(10, 60, 300, 32);
  for (const char* c : {"A", "B", "C", "D"}) strip.Tabs().Add(c);
  strip.Tabs()[3].SetVisible(false);
  strip.Tabs()[0].SetCanClose(true);
  std::vector<std::string> log;
  strip.OnDrawBackground = [&](TComponent*, TCanvas&, const RECT& r, TDrawStage stage) {
    log.push_back(std::string(stage == dsPreProcess ? "pre " : "post ") + std::to_string(r.right));
  };
  strip.OnMeasureTab = [&](TComponent*, int index, TTabRects& rects, TDrawState) {
    log.push_back("measure " + std::to_string(index) + " after " + std::to_string(rects.prior.right));
    rects.tab = {rects.prior.right, 0, rects.prior.right + 10, 20};
    if (index == 0) rects.close = {280, 5, 294, 19};
  };
  strip.OnDrawTab = [&](TComponent*, TCanvas&, int index, const RECT&, TDrawState) {
    log.push_back("tab " + std::to_string(index));
  };
  strip.OnDrawClose = [&](TComponent*, TCanvas&, int index, const RECT&, TDrawState) {
    log.push_back("close " + std::to_string(index));
  };
  strip.SetTabIndex(1);
  ShowAndPaint();
  log.clear();
  strip.Repaint();
  EXPECT_EQ(log, (std::vector<std::string>{"pre 300", "measure 0 after 0", "measure 1 after 10", "measure 2 after 20",
                                           "tab 2", "tab 0", "close 0", "tab 1", "post 300"}));
  log.clear();
  strip.SetDrawOrder(doLeftToRight);
  strip.Repaint();
  EXPECT_EQ(log, (std::vector<std::string>{"pre 300", "measure 0 after 0", "measure 1 after 10", "measure 2 after 20",
                                           "tab 0", "close 0", "tab 2", "tab 1", "post 300"}));
  // A hidden current tab is not drawn.
  log.clear();
  strip.Tabs()[1].SetVisible(false);
  strip.Repaint();
  EXPECT_EQ(log, (std::vector<std::string>{"pre 300", "measure 0 after 0", "measure 2 after 10", "tab 0", "close 0",
                                           "tab 2", "post 300"}));
}

TEST_F(TabsTest, ThemeDrawsBackgroundBandTabsAndCloseImages) {
  auto& strip = MakeStrip({"Source", "XML"});
  strip.Tabs()[0].SetCanClose(true);
  const COLORREF k = ColorToRGB(strip.Color());
  auto scaled = [&](double s) {
    return RGB(static_cast<int>(GetRValue(k) * s + 0.5), static_cast<int>(GetGValue(k) * s + 0.5),
               static_cast<int>(GetBValue(k) * s + 0.5));
  };
  ShowAndPaint();
  HWND w = strip.Handle();
  // No current tab: the band along the bottom is the strip's colour.
  EXPECT_TRUE(Near(PixelAt(w, 200, 30), k));
  // The background runs from the window colour at the left to K at the right.
  EXPECT_TRUE(Near(PixelAt(w, 1, 2), ColorToRGB(clWindow), 12));
  EXPECT_TRUE(Near(PixelAt(w, 398, 2), k, 12));
  // A tab other than the current one is filled with 0.9 x K in its upper half.
  const RECT r1 = strip.Tabs()[1].TabRect();
  EXPECT_TRUE(Near(PixelAt(w, r1.right - 8, r1.top + 4), scaled(0.9), 3));

  strip.SetTabIndex(0);
  strip.Repaint();
  const RECT r0 = strip.Tabs()[0].TabRect();
  // Below the current tab, the band is K.
  EXPECT_TRUE(Near(PixelAt(w, (r0.left + r0.right) / 2, 31), k));
  // The outline of a tab is the theme pen (0.7 x K) along its straight right side.
  // (w + k + d/3 lies about one pixel right of the rectangle.)
  std::string seen;
  bool found = false;
  for (int x = r1.right - 1; x <= r1.right + 2; ++x) {
    const COLORREF edge = PixelAt(w, x, (r1.top + r1.bottom) / 2);
    seen += testing::Hex(edge) + " ";
    found = found || Near(edge, scaled(0.7), 3);
  }
  EXPECT_TRUE(found) << seen;

  // Close images: 8831 without the mouse, 8833 hot, 8832 hot and pressed.
  const RECT c = strip.Tabs()[0].CloseRect();
  EXPECT_TRUE(Near(PixelAt(w, c.left + 7, c.top + 7), RGB(96, 96, 96), 40));
  testing::MoveTo(w, c.left + 7, c.top + 7);
  strip.Repaint();
  EXPECT_EQ(strip.HotClose(), 0);
  EXPECT_TRUE(Near(PixelAt(w, c.left + 7, c.top + 7), RGB(255, 255, 255), 40));
  EXPECT_TRUE(Near(PixelAt(w, c.left + 2, c.top + 7), RGB(215, 60, 50), 40));
  Press(w, c.left + 7, c.top + 7);
  strip.Repaint();
  EXPECT_TRUE(Near(PixelAt(w, c.left + 2, c.top + 8), RGB(150, 30, 25), 40));
  Release(w, 0, 0);
}

}  // namespace
}  // namespace quenlor::ui
