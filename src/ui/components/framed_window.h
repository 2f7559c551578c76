// A container that draws a thin sunken frame around its children, in the look of an edit
// box when visual styles are active.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "ui/components/provider_tools.h"

namespace quenlor::ui {

enum class TBorderStyle { bsNone, bsSingle };

class TFramedWindow : public TProviderCustomControl {
 public:
  TFramedWindow(TComponent* owner, TControl* parent);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle style);  // remakes the window
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Hover(TControl* control) override;

 private:
  void PaintFrame();
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
};

class TChangeLink;

// A list of images (the platform's image list), which tells the controls that watch it
// when it changes and when it goes away.
class TImageList : public TComponent {
 public:
  TImageList(TComponent* owner, int width, int height);
  ~TImageList() override;
  HIMAGELIST Handle() const { return handle_; }
  int Count() const;
  // Adds an image (with alpha) and tells the watchers.
  int Add(HBITMAP bitmap);
  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);

 private:
  void Changed();
  HIMAGELIST handle_;
  std::vector<TChangeLink*> links_;
};

class TChangeLink {
 public:
  std::function<void()> OnChange;
  std::function<void()> OnDestroyed;
};

// A framed window with an image list and an image index, for descendants that show one.
class TFramedImagesWindow : public TFramedWindow {
 public:
  TFramedImagesWindow(TComponent* owner, TControl* parent);
  ~TFramedImagesWindow() override;
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int index);  // negative values are kept as -1

 private:
  TImageList* images_ = nullptr;
  int image_index_ = -1;
  std::unique_ptr<TChangeLink> link_;
};

}  // namespace quenlor::ui
