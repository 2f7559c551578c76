// Where a control's children go when its client area changes: children aligned to an edge
// take their strips in turn, anchored ones keep their distances to the anchored edges.
// Plain functions over rectangles, so that they are tested without windows.
#pragma once

#include <vector>

namespace quenlor::ui {

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;
constexpr TAnchors kAnchorsAll = akLeft | akTop | akRight | akBottom;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A position and size, as controls keep them.
struct TBounds {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TBounds&) const = default;
};

// One child as its parent's layout sees it. `right` and `bottom` are the distances from
// its right and bottom edges to those of the client area when the anchors were set.
struct TLayoutChild {
  TBounds bounds;
  TAlign align = TAlign::alNone;
  TAnchors anchors = akLeft | akTop;
  bool visible = true;
  int right = 0, bottom = 0;
};

// The new bounds of each child in a client area of `width` x `height` (origin 0, 0):
// aligned children in the order top, bottom, left, right, client, each kind in the
// children's order, invisible ones left where they are; then anchored ones.
std::vector<TBounds> PlaceChildren(int width, int height, const std::vector<TLayoutChild>& children);

// The distances kept by the right and bottom anchors for `bounds` in that client area.
struct TAnchorDistances {
  int right = 0, bottom = 0;
};
TAnchorDistances AnchorDistances(int width, int height, const TBounds& bounds);

}  // namespace quenlor::ui
