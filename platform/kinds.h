// Inside the window framework: the control types its files share. Which type a row gets is
// decided by make_control alone; an operation of one kind may rely on the type its kind
// always gets there (a tab is a TabControl, a scroll bar a ScrollControl, a drawing panel a
// PanelControl).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/control.h"

namespace tb {

// The table's style bits the framework reads itself: no window is given them.
constexpr unsigned long kFrameworkBits = style::kDrawn | style::kLiveBox;

// A control that is a child window of its own.
class WindowedControl : public Control {
 public:
  using Control::Control;
  void create() override;
  bool made() const override { return hwnd_ != nullptr; }
  HWND hwnd() const override { return hwnd_; }
  std::string text() const override;
  void set_text(std::string_view t) override;
  void show(bool on) override;
  bool visible() const override;
  bool locate(HWND& in, RECT& r) const override;
  void repaint() override;
  bool renew() override;
  bool tool(TTTOOLINFOW& ti) const override;

 protected:
  virtual const wchar_t* window_class() const = 0;
  virtual DWORD kind_style() const = 0;
  virtual std::wstring initial_text() const;
  virtual void before_create() {}
  // Takes the new window's messages: a standard control is hooked, a window of the
  // framework's own class hands them to its object.
  virtual void attach();
  virtual void prepare() {}
  // A notification its parent reflected to it (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*,
  // WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL); true when it answered.
  virtual bool reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r);
  // Keys and the mouse on window h (its own, or an edit it holds), before h's procedure.
  bool own_message(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r);
  // The one way its window is made, from the table or in the place of a renewed one.
  HWND open_window(HWND parent, const RECT& r, DWORD shown, const std::wstring& text);

  HWND hwnd_ = nullptr;
  bool swallow_char_ = false;  // the character of a key a handler took
};

class ScrollControl : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  void set_range(int min, int max, int page, int pos);
  int position() const;

 protected:
  const wchar_t* window_class() const override;
  DWORD kind_style() const override;
  std::wstring initial_text() const override;
  void prepare() override;
  bool reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) override;

 private:
  int page_step_ = 10;
};

// Picture buttons, picture and shape boxes, group boxes, tabs and drawing panels that are
// windows: painted by code, holding other rows, their pointer input in their host.
class ContainerControl : public WindowedControl, public ChildWindow {
 public:
  using WindowedControl::WindowedControl;
  void set_text(std::string_view t) override;
  bool renew() override { return false; }  // it holds other rows
  HWND inner(int) override { return hwnd_; }
  PaintedHost* inner_host(int) override { return host_.get(); }
  LRESULT message(HWND h, UINT msg, WPARAM wp, LPARAM lp) override;

 protected:
  const wchar_t* window_class() const override { return detail::kContainerClass; }
  DWORD kind_style() const override { return 0; }
  void attach() override;
  std::unique_ptr<PaintedHost> host_;
};

class TabControl : public ContainerControl {
 public:
  TabControl(Window& w, const ControlDef& d, std::size_t index);
  ~TabControl() override;
  HWND inner(int page) override;
  PaintedHost* inner_host(int page) override;
  void select(int page);
  int selected() const { return page_; }
  int pages() const { return static_cast<int>(names_.size()); }

 protected:
  void prepare() override;

 private:
  class Page;
  Page* page(int i);  // made on first need
  std::vector<std::string> names_;
  std::vector<std::unique_ptr<Page>> pages_;
  int page_ = 0;
};

class PanelControl : public ContainerControl {
 public:
  using ContainerControl::ContainerControl;
  void paint(HDC dc, const RECT& r) override;
  bool set_surface(Dib dib);
  Surface surface();

 protected:
  void prepare() override;

 private:
  Dib dib_;
};

std::unique_ptr<Control> make_painted(Window& w, const ControlDef& d, std::size_t index);
std::unique_ptr<Control> make_container(Window& w, const ControlDef& d, std::size_t index);
std::unique_ptr<Control> make_readout(Window& w, const ControlDef& d, std::size_t index);

}  // namespace tb
