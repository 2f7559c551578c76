// The base of the program's resizable windows: a sizing frame, a size grip in the
// bottom-right corner, and a first size (and minimum size) that just fits the controls.
#pragma once

#include <utility>
#include <vector>

#include "ui/components/version_form.h"

namespace quenlor::ui {

class TGripForm : public TVersionForm {
 public:
  static constexpr int kGripSize = 18;

  explicit TGripForm(TComponent* owner);

  // Sizes the client area to the visible controls plus the margins (at least 100 x 100)
  // and makes the resulting outer size the minimum.
  void FitToControls();
  virtual void SetMinimumSize(int width, int height);
  virtual SIZE GetMargins() const { return {8, 8}; }

  bool GripVisible() const { return grip_visible_; }
  void SetGripVisible(bool visible);
  TPaintBox* GripBox() const { return grip_box_; }

  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 protected:
  void Loaded() override;
  void CreateParams(TCreateParams& params) override;

 private:
  bool Handles() const;  // a sizeable kind of border and a visible grip
  void PaintGrip(TCanvas& canvas);
  LRESULT HitTest(LPARAM point);

  std::vector<std::pair<TControl*, TAnchors>> saved_anchors_;
  RECT drag_rect_{};
  int drag_hit_ = 0;
  TPaintBox* grip_box_ = nullptr;
  bool grip_visible_ = false;
};

// True when the platform draws with visual styles for this program.
bool VisualStylesActive();

}  // namespace quenlor::ui
