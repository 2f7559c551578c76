#include "ui/layout/layout.h"

#include <algorithm>

namespace quenlor::ui {

std::vector<TBounds> PlaceChildren(int width, int height, const std::vector<TLayoutChild>& children) {
  std::vector<TBounds> placed;
  placed.reserve(children.size());
  for (const TLayoutChild& child : children) placed.push_back(child.bounds);
  int left = 0, top = 0, right = width, bottom = height;
  for (TAlign kind : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    for (std::size_t i = 0; i < children.size(); ++i) {
      const TLayoutChild& c = children[i];
      if (c.align != kind || !c.visible) continue;
      const int w = right - left, h = bottom - top;
      TBounds& b = placed[i];
      switch (kind) {
        case TAlign::alTop:
          b = {left, top, w, c.bounds.height};
          top = std::min(bottom, top + c.bounds.height);
          break;
        case TAlign::alBottom:
          b = {left, bottom - c.bounds.height, w, c.bounds.height};
          bottom = std::max(top, bottom - c.bounds.height);
          break;
        case TAlign::alLeft:
          b = {left, top, c.bounds.width, h};
          left = std::min(right, left + c.bounds.width);
          break;
        case TAlign::alRight:
          b = {right - c.bounds.width, top, c.bounds.width, h};
          right = std::max(left, right - c.bounds.width);
          break;
        default:
          b = {left, top, w, h};
          break;
      }
    }
  }
  for (std::size_t i = 0; i < children.size(); ++i) {
    const TLayoutChild& c = children[i];
    if (c.align != TAlign::alNone) continue;
    TBounds b = c.bounds;
    if (c.anchors & akRight) {
      if (c.anchors & akLeft) b.width = width - b.left - c.right;
      else b.left = width - b.width - c.right;
    }
    if (c.anchors & akBottom) {
      if (c.anchors & akTop) b.height = height - b.top - c.bottom;
      else b.top = height - b.height - c.bottom;
    }
    b.width = std::max(0, b.width);
    b.height = std::max(0, b.height);
    placed[i] = b;
  }
  return placed;
}

TAnchorDistances AnchorDistances(int width, int height, const TBounds& bounds) {
  return {width - (bounds.left + bounds.width), height - (bounds.top + bounds.height)};
}

}  // namespace quenlor::ui
