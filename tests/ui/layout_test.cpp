// Where aligned and anchored children go, without windows.
#include <gtest/gtest.h>

#include "ui/layout/layout.h"

namespace quenlor::ui {
namespace {

TLayoutChild Aligned(TAlign align, int width, int height, bool visible = true) {
  TLayoutChild child;
  child.bounds = {5, 5, width, height};
  child.align = align;
  child.visible = visible;
  return child;
}

TEST(Layout, AlignedChildrenTakeStripsTopBottomLeftRightThenTheRest) {
  // Listed out of order: the kind decides, then the order among one kind.
  const std::vector<TLayoutChild> children = {
      Aligned(TAlign::alClient, 1, 1),  Aligned(TAlign::alLeft, 30, 1),  Aligned(TAlign::alTop, 1, 20),
      Aligned(TAlign::alBottom, 1, 10), Aligned(TAlign::alTop, 1, 4),    Aligned(TAlign::alRight, 40, 1),
      Aligned(TAlign::alTop, 1, 50, false)};
  const std::vector<TBounds> placed = PlaceChildren(200, 100, children);
  EXPECT_EQ(placed[2], (TBounds{0, 0, 200, 20}));
  EXPECT_EQ(placed[4], (TBounds{0, 20, 200, 4}));
  EXPECT_EQ(placed[3], (TBounds{0, 90, 200, 10}));
  EXPECT_EQ(placed[1], (TBounds{0, 24, 30, 66}));
  EXPECT_EQ(placed[5], (TBounds{160, 24, 40, 66}));
  EXPECT_EQ(placed[0], (TBounds{30, 24, 130, 66}));
  // A hidden aligned child keeps its place and takes no strip.
  EXPECT_EQ(placed[6], children[6].bounds);
}

// Too small an area: a later strip overlaps an earlier one, and what is left is empty, never
// of a negative size.
TEST(Layout, TooSmallAnAreaLeavesTheRestEmpty) {
  const std::vector<TBounds> placed =
      PlaceChildren(50, 30, {Aligned(TAlign::alTop, 1, 20), Aligned(TAlign::alBottom, 1, 20), Aligned(TAlign::alClient, 1, 1)});
  EXPECT_EQ(placed[1], (TBounds{0, 10, 50, 20}));
  EXPECT_EQ(placed[2], (TBounds{0, 20, 50, 0}));
}

TEST(Layout, AnchorsKeepTheDistancesToTheirEdges) {
  const TBounds bounds{10, 20, 100, 50};
  const TAnchorDistances kept = AnchorDistances(300, 200, bounds);
  EXPECT_EQ(kept.right, 190);
  EXPECT_EQ(kept.bottom, 130);
  std::vector<TLayoutChild> children(4);
  for (TLayoutChild& c : children) {
    c.bounds = bounds;
    c.right = kept.right;
    c.bottom = kept.bottom;
  }
  children[0].anchors = akLeft | akTop;
  children[1].anchors = kAnchorsAll;
  children[2].anchors = akRight | akBottom;
  children[3].anchors = akLeft | akRight | akBottom;
  // The parent grows by 50 x 30.
  const std::vector<TBounds> placed = PlaceChildren(350, 230, children);
  EXPECT_EQ(placed[0], bounds);
  EXPECT_EQ(placed[1], (TBounds{10, 20, 150, 80}));
  EXPECT_EQ(placed[2], (TBounds{60, 50, 100, 50}));
  EXPECT_EQ(placed[3], (TBounds{10, 50, 150, 50}));
  // Shrunk below the distances: sizes stop at zero.
  const std::vector<TBounds> small = PlaceChildren(100, 100, children);
  EXPECT_EQ(small[1].width, 0);
  EXPECT_EQ(small[1].height, 0);
}

}  // namespace
}  // namespace quenlor::ui
