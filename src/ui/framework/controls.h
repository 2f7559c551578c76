// The small window framework the program's windows are made of: components owned by
// components, controls placed on parents with anchors and alignment, fonts inherited
// from the parent, events as std::function, and one window procedure that hands every
// message to the object behind the window.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/framework/graphics.h"
#include "ui/framework/handles.h"
#include "ui/layout/layout.h"

namespace quenlor::ui {

class TControl;

// Something owned by another component and destroyed with it, in reverse order of creation.
class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  std::size_t ComponentCount() const { return components_.size(); }
  TComponent* Components(std::size_t i) const { return components_[i].get(); }

  // Makes a T(this, args...) owned by this component. A control whose parent already has
  // its window gets its own window here, once it is fully constructed.
  template <class T, class... Args>
  T& Add(Args&&... args) {
    auto made = std::make_unique<T>(this, std::forward<Args>(args)...);
    T& result = *made;
    components_.push_back(std::move(made));
    static_cast<TComponent&>(result).Constructed();
    return result;
  }
  // Destroys a component owned by this one.
  void RemoveComponent(TComponent* component);

 protected:
  // Runs once after the most-derived constructor, where virtual calls reach the final class.
  virtual void Constructed() {}
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::vector<std::unique_ptr<TComponent>> components_;
};

using TNotifyEvent = std::function<void(TComponent* sender)>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// What CreateWindowExW is called with; controls adjust it in CreateParams.
struct TCreateParams {
  std::wstring class_name;
  DWORD style = 0;
  DWORD ex_style = 0;
  // For a system class (LISTBOX, EDIT, ...) the framework subclasses the window.
  bool system_class = false;
  // The owner window of a top-level window (a form owned by a control).
  HWND parent_window = nullptr;
};

// A control with a window of its own. Its state lives in the object, so the window can be
// created late (when the parent's is) and re-created when a style changes.
class TControl : public TComponent {
 public:
  TControl(TComponent* owner, TControl* parent);
  ~TControl() override;

  HWND Handle();                       // creates the window when needed
  HWND HandleIfCreated() const { return hwnd_; }
  static TControl* FromHandle(HWND window);

  TControl* Parent() const { return parent_; }
  const std::vector<TControl*>& Controls() const { return controls_; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }

  int ClientWidth();
  int ClientHeight();
  RECT ClientRect();
  virtual void SetClientSize(int width, int height);

  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors anchors);
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const TFont& Font() const { return font_; }
  // A control's font follows its parent's until it is given one.
  void SetFont(const TFont& font);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // The window text; labels, buttons and forms show it.
  std::string Caption() const;
  void SetCaption(const std::string& caption);

  void SetDoubleBuffered(bool value) { double_buffered_ = value; }

  bool Focused() const;
  void SetFocus();
  void Invalidate();
  void Repaint();  // invalidates and paints now
  // Destroys and makes the window again (with its children) after a style change.
  void RecreateWnd();
  // Places aligned and anchored children again within the client area.
  void Realign();
  // A mark for controls that a form leaves out when it fits itself to its children.
  bool ExcludedFromFit() const { return excluded_from_fit_; }
  void SetExcludedFromFit(bool value) { excluded_from_fit_ = value; }
  // The id by which the parent finds this control in WM_COMMAND and WM_MEASUREITEM.
  int ControlId() const { return id_; }

  TNotifyEvent OnClick;

  // Sends a message to the object as if it came from the window: the default handling of
  // a derived class is the base class' WndProc.
  virtual LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam);

 protected:
  void Constructed() override;
  virtual void CreateParams(TCreateParams& params);
  void CreateHandle();
  void DestroyHandle();
  // Called just after the window exists (before its children are made) and just before it
  // is destroyed; controls move state between their fields and the window here.
  virtual void CreateWnd() {}
  virtual void DestroyWnd() {}
  LRESULT DefaultHandler(UINT message, WPARAM wparam, LPARAM lparam);

  // Messages the parent passes back to the child they concern.
  virtual bool ReflectedCommand(WORD /*code*/) { return false; }
  virtual bool ReflectedDrawItem(DRAWITEMSTRUCT& /*item*/) { return false; }
  virtual bool ReflectedMeasureItem(MEASUREITEMSTRUCT& /*item*/) { return false; }
  virtual HBRUSH ReflectedCtlColor(HDC dc);

  virtual void Paint(TCanvas& /*canvas*/) {}
  // True when Paint fills the whole client area (then the background is not erased).
  virtual bool PaintsWholeClient() const { return false; }
  virtual void MouseDown(TMouseButton button, UINT keys, int x, int y);
  virtual void MouseUp(TMouseButton button, UINT keys, int x, int y);
  virtual void MouseMove(UINT keys, int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Resize();
  virtual void Click();
  virtual void FontChanged() {}
  virtual void TextChanged() {}
  // The height given to the platform for a height of the control (a drop-down list adds
  // the height of its list).
  virtual int WindowHeightFor(int height) const { return height; }
  void SetBoundsInternal(int left, int top, int width, int height);

  void ApplyFontToWindow();
  HBRUSH BackgroundBrush();

 public:
  // The one window procedure of the framework's windows and subclassed system controls.
  static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  friend class TApplication;
  void Attach(HWND window);
  void Detach();
  void PaintMessage();
  void UpdateAnchorRules();
  void ApplyParentFont(const TFont& font);
  TControl* ChildById(int id) const;
  TControl* ChildByHandle(HWND window) const;

  HWND hwnd_ = nullptr;
  WNDPROC original_proc_ = nullptr;
  TControl* parent_;
  std::vector<TControl*> controls_;
  int id_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  int anchor_right_ = 0, anchor_bottom_ = 0;  // distances kept by right and bottom anchors
  TAnchors anchors_ = akLeft | akTop;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool parent_font_ = true;
  bool double_buffered_ = false;
  bool excluded_from_fit_ = false;
  bool mouse_inside_ = false;
  bool realigning_ = false;
  TFont font_;
  TColor color_ = clBtnFace;
  Brush background_;
  COLORREF background_rgb_ = CLR_INVALID;
  std::string caption_;
};

// A control that draws itself: Paint gets a canvas (off-screen when double-buffered).
class TCustomControl : public TControl {
 public:
  TCustomControl(TComponent* owner, TControl* parent);
};

// A paint area that lets mouse messages through to its parent.
class TPaintBox : public TControl {
 public:
  TPaintBox(TComponent* owner, TControl* parent);
  std::function<void(TComponent* sender, TCanvas& canvas)> OnPaint;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 protected:
  void CreateWnd() override;
  void Paint(TCanvas& canvas) override;
};

enum class TTextLayout { tlTop, tlCenter, tlBottom };

// Text drawn on the parent's background. With AutoSize it takes the size of its text.
class TLabel : public TControl {
 public:
  TLabel(TComponent* owner, TControl* parent);
  void SetAutoSize(bool value);
  void SetLayout(TTextLayout layout);
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 protected:
  void Paint(TCanvas& canvas) override;
  bool PaintsWholeClient() const override { return true; }
  void FontChanged() override;
  void TextChanged() override;

 private:
  void AdjustSize();
  bool auto_size_ = true;
  TTextLayout layout_ = TTextLayout::tlTop;
};

class TButton : public TControl {
 public:
  TButton(TComponent* owner, TControl* parent);

 protected:
  void CreateParams(TCreateParams& params) override;
  bool ReflectedCommand(WORD code) override;
};

enum TOwnerDrawStateItem : unsigned { odSelected = ODS_SELECTED, odFocused = ODS_FOCUS };
using TOwnerDrawState = unsigned;
using TDrawItemEvent = std::function<void(TControl* control, int index, const RECT& rect,
                                          TOwnerDrawState state, TCanvas& canvas)>;

// What list boxes and drop-down lists share: their items kept in the object (so that the
// window can be made again), the selected index, the item height and owner drawing.
class TCustomListControl : public TControl {
 public:
  // The messages by which the platform's control of each kind takes the same requests.
  struct Messages {
    UINT add, reset, get_selection, set_selection, set_item_height;
  };

  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);  // clears the selection
  int ItemIndex() const;
  void SetItemIndex(int index);
  int ItemHeight() const { return item_height_; }
  void SetItemHeight(int height);
  TDrawItemEvent OnDrawItem;

 protected:
  TCustomListControl(TComponent* owner, TControl* parent, const Messages& messages, int item_height);
  void CreateWnd() override;
  void DestroyWnd() override;
  bool ReflectedDrawItem(DRAWITEMSTRUCT& item) override;
  HBRUSH ReflectedCtlColor(HDC dc) override;
  // Gives the window the item height where the kind and its style take one.
  virtual void ApplyItemHeight() const = 0;
  void SetItemHeightMessage(WPARAM which) const;

  std::vector<std::string> items_;

 private:
  void AddStrings() const;
  const Messages& messages_;
  int item_index_ = -1;
  int item_height_;
};

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed };

class TListBox : public TCustomListControl {
 public:
  TListBox(TComponent* owner, TControl* parent);
  void AddItem(const std::string& item);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle style);

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyItemHeight() const override;
  bool ReflectedCommand(WORD code) override;
  bool ReflectedMeasureItem(MEASUREITEMSTRUCT& item) override;

 private:
  TListBoxStyle style_ = TListBoxStyle::lbStandard;
};

enum class TComboBoxStyle { csDropDownList, csOwnerDrawFixed };

// A drop-down list without free text. An item height of 0 is the platform's.
class TComboBox : public TCustomListControl {
 public:
  TComboBox(TComponent* owner, TControl* parent);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyItemHeight() const override;
  bool ReflectedCommand(WORD code) override;
  bool ReflectedMeasureItem(MEASUREITEMSTRUCT& item) override;
  int WindowHeightFor(int height) const override { return height + 200; }

 private:
  TComboBoxStyle style_ = TComboBoxStyle::csDropDownList;
};

// A message-driven timer of the user-interface thread.
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);  // disabling and enabling again restarts the interval
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  TNotifyEvent OnTimer;

  static LRESULT CALLBACK TimerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
 private:
  void Update();
  HWND window_ = nullptr;
  bool enabled_ = true;
  unsigned interval_ = 1000;
};

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable };
enum class TPosition { poDesigned, poScreenCenter };

// A top-level window. The owner of a form is the application unless given.
class TForm : public TControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style);
  void SetPosition(TPosition position) { position_ = position; }
  int MinWidth() const { return min_width_; }
  int MinHeight() const { return min_height_; }
  void SetMinWidth(int v) { min_width_ = v; }
  void SetMinHeight(int v) { min_height_ = v; }
  void SetIcon(HICON icon);
  void SetClientSize(int width, int height) override;
  void SetVisible(bool visible) override;
  void Close();  // closing the main form ends the application's message loop

  TNotifyEvent OnCreate;

  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  // After construction: Loaded, then OnCreate.
  void Constructed() override;
  // The form's controls exist; base classes finish their set-up here.
  virtual void Loaded() {}
  // Runs OnCreate once the form is constructed; errors go to the application's handler.
  virtual void DoCreate();
  // The outer size for a client size, from the window styles (works before the window exists).
  SIZE OuterSize(int client_width, int client_height);
  friend class TApplication;

 private:
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
  TPosition position_ = TPosition::poDesigned;
  int min_width_ = 0, min_height_ = 0;
  HICON icon_ = nullptr;
  bool centred_ = false;
};

// The application: its title, its forms, the message loop and the handler of errors that
// escape events.
class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  HICON Icon() const;

  // Creates a form owned by the application; the first one becomes the main form.
  template <class T, class... Args>
  T& CreateForm(Args&&... args) {
    T& form = Add<T>(std::forward<Args>(args)...);
    if (!main_form_) main_form_ = &form;
    return form;
  }
  TForm* MainForm() const { return main_form_; }
  const std::vector<TForm*>& Forms() const { return forms_; }

  // Shows the main form and runs the message loop until the main form is closed; returns
  // the exit code.
  int Run();
  void Terminate();
  // Handles the messages waiting in the queue, then returns.
  void ProcessMessages();

  // Shows the message of an error that escaped an event in a message box.
  void HandleException(const std::exception& error);
  // A modal message box with the application's title (MB_ flags); returns the answer.
  int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);
  // Tests replace the modal message box to read what it would show.
  std::function<int(const std::string& text, const std::string& caption, UINT flags)> MessageBoxHook;

  HINSTANCE Instance() const;

 private:
  friend class TForm;
  std::string title_;
  TForm* main_form_ = nullptr;
  std::vector<TForm*> forms_;
  bool terminated_ = false;
};

// The one application object of the process.
TApplication& Application();

}  // namespace quenlor::ui
