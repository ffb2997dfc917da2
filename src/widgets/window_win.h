#pragma once
// The window layer: one non-copyable base that owns an HWND and binds `this` to it
// at creation, so messages reach plain methods and typed events. Windows of our
// own classes derive from Window; system controls (buttons, edits, list views...)
// derive from Control and get their notifications reflected back from the parent.
//
// No exception crosses a window procedure: an exception that reaches the
// boundary is shown in the general error box (ReportError) and the message gets
// its default handling, after which the program runs on.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {
class Prompts;
}

namespace kv::ui {

// The prompts that show the general error box; the Win32 prompts unless a test or
// the program sets others. `prompts` must outlive its use; nullptr restores the
// default.
void SetErrorPrompts(Prompts* prompts);
[[nodiscard]] Prompts& ErrorPrompts();
// Shows the exception being handled (call inside a catch block) in the error box.
void ReportCurrentException() noexcept;

// Handles the messages that are waiting, then returns. False once the message
// loop has been asked to end (WM_QUIT seen; it is posted again for the loop).
bool ProcessMessages();
// True after WM_QUIT was seen by ProcessMessages or RunMessageLoop.
[[nodiscard]] bool Terminated() noexcept;
// The program's message loop; returns WM_QUIT's exit code.
int RunMessageLoop();

// Anything owning an HWND. Looking it up from the HWND is how reflected
// notifications and the window procedure find their object.
class HwndOwner {
 public:
  HwndOwner() = default;
  HwndOwner(const HwndOwner&) = delete;
  HwndOwner& operator=(const HwndOwner&) = delete;
  virtual ~HwndOwner();

  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }
  [[nodiscard]] static HwndOwner* FromHwnd(HWND hwnd) noexcept;

  // Destroys the window now; the object stays and hears the destruction.
  void Destroy() noexcept;
  void SetVisible(bool visible);
  [[nodiscard]] bool IsVisible() const noexcept;
  void SetEnabled(bool enabled);
  [[nodiscard]] bool IsEnabled() const noexcept;
  void SetText(const std::string& text);
  [[nodiscard]] std::string Text() const;
  // Position in the parent's client area (a top-level window: on the screen).
  void SetBounds(int left, int top, int width, int height);
  [[nodiscard]] RECT Bounds() const noexcept;
  void SetFont(HFONT font);
  void Invalidate() noexcept;

  // A reflected WM_COMMAND (notification code) or WM_NOTIFY sent to the parent
  // about this control; true when handled.
  virtual bool OnCommand(WORD /*code*/) { return false; }
  virtual bool OnNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }

 protected:
  void Attach(HWND hwnd) noexcept;  // binds this object to hwnd
  // Called when the window is being destroyed (before the handle is gone).
  virtual void OnHandleDestroyed() noexcept {}
  HWND hwnd_ = nullptr;

 private:
  friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK ControlSubclassProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void Detach() noexcept;
};

struct WindowArgs {
  const wchar_t* className = L"KvWindow";
  std::string title;
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  HWND parent = nullptr;
  int left = CW_USEDEFAULT, top = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  UINT classStyle = CS_DBLCLKS;
  HCURSOR cursor = nullptr;  // arrow when null
  HBRUSH background = nullptr;
  HMENU idOrMenu = nullptr;
};

// A window of a class of our own: a form, or a control drawn by the program.
// Its messages raise the typed events below; owners set the handlers, and a
// derived window adds its own behaviour through the protected hooks, so both
// reach the same events.
class Window : public HwndOwner {
 public:
  Window() = default;
  // Destroys the window without calling back into the object being destroyed.
  ~Window() override;

  // Raised for every message before the typed events; return true to stop
  // there with `result`. For messages that have no typed event.
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> onMessage;
  std::function<void()> onDestroy;

  std::function<void(UINT_PTR id)> onTimer;
  // Mouse buttons: 0 left, 1 right, 2 middle; positions in client coordinates.
  std::function<void(int button, int x, int y)> onMouseDown;
  std::function<void(int button, int x, int y)> onMouseUp;
  // The second press of a double click, which comes instead of a mouse down.
  std::function<void(int button, int x, int y)> onDoubleClick;
  std::function<void(int x, int y)> onMouseMove;
  // The mouse came over the window, or left it: raised by windows that follow
  // the mouse (followsMouse_).
  std::function<void()> onMouseEnter;
  std::function<void()> onMouseLeave;
  // The wheel turned by `delta` (WHEEL_DELTA a notch, positive away from the user).
  std::function<void(int delta)> onMouseWheel;
  // A key pressed while the window has the focus; true when handled.
  std::function<bool(WORD key)> onKeyDown;
  // The context menu asked for (right button released, or the keyboard) over
  // `from`, this window or a control on it that left the request to its
  // parent, at a screen position (the cursor's when asked by the keyboard).
  // Without a handler a child window leaves the request to its own parent.
  std::function<void(HWND from, int x, int y)> onContextMenu;

 protected:
  // Registers the class (once per name) and creates the window, `this` bound
  // from WM_NCCREATE on. Raises std::runtime_error when creation fails.
  void Create(const WindowArgs& args);
  // Raises the typed events, reflects WM_COMMAND and WM_NOTIFY to the control
  // they come from, then gives the message its default handling.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

  // Hooks for windows that add behaviour to an event; each default raises the
  // handler above, an override calls it too.
  virtual void MouseDown(int button, int x, int y);
  virtual void MouseUp(int button, int x, int y);
  virtual void DoubleClick(int button, int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Narrow hooks without a handler. A window that draws its whole face: no
  // background erase, WM_PAINT answered by PaintFace.
  virtual void PaintFace(HDC /*dc*/) {}
  bool paintsWholeFace_ = false;
  // Erases the background (WM_ERASEBKGND) itself; false leaves it to the class.
  virtual bool EraseBackground(HDC /*dc*/) { return false; }
  // The brush a child control paints its background with (WM_CTLCOLORSTATIC,
  // WM_CTLCOLORBTN); null leaves it to the system.
  virtual HBRUSH ChildBackground(HDC /*dc*/, HWND /*child*/) { return nullptr; }
  // Follows the mouse in and out of the window (MouseEnter, MouseLeave).
  bool followsMouse_ = false;

 private:
  friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
  bool mouseInside_ = false;
};

// A top-level window: the frame of dialogs, tool windows and the skinned forms
// alike, with the events only such a window has.
class Form : public Window {
 public:
  struct CreateArgs {
    std::string title;
    int left = CW_USEDEFAULT, top = CW_USEDEFAULT, width = 400, height = 300;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    HWND owner = nullptr;
    // The window class, for a form that others find by it.
    const wchar_t* className = L"KvForm";
  };
  void Create(const CreateArgs& args);

  // Asked before closing; return false to keep the window open. Without a
  // handler the window hides (the program's forms live until it ends).
  std::function<bool()> onClose;
  std::function<void(int width, int height)> onResize;
  std::function<void(WORD id)> onMenuCommand;  // WM_COMMAND from a menu or accelerator
  std::function<void(bool active)> onActivate;
  // The program became the active application, or stopped being it.
  std::function<void(bool active)> onActivateApp;
  // Shown or hidden by ShowWindow (not when a parent is minimised).
  std::function<void(bool visible)> onShow;
  // Back from the taskbar (minimised), after the system has restored it.
  std::function<void()> onRestore;
  // Files dropped from the shell, by full name (the form accepts them once
  // DragAcceptFiles was called on it).
  std::function<void(const std::vector<std::string>& names)> onDropFiles;
  // Data sent by another process (WM_COPYDATA): its kind, its bytes and the
  // sending window; the answer, or nothing to leave it unanswered.
  std::function<std::optional<LRESULT>(ULONG_PTR kind, std::string_view data, HWND sender)>
      onCopyData;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  // Hooks as the window's: each default raises its handler.
  virtual void Activated(bool active);
  virtual void AppActivated(bool active);
  // A proposed move (with the current size when the request leaves the size
  // out), and a move or resize done.
  virtual void PositionChanging(WINDOWPOS& /*pos*/) {}
  virtual void PositionChanged(const WINDOWPOS& /*pos*/) {}
};

// A system control (BUTTON, EDIT, ...) created as a child of `parent`; its
// notifications come back through OnCommand and OnNotify.
class Control : public HwndOwner {
 public:
  Control() = default;
  ~Control() override;

  struct CreateArgs {
    HWND parent = nullptr;
    int left = 0, top = 0, width = 80, height = 23;
    std::string text;
    DWORD style = 0;  // added to WS_CHILD | WS_VISIBLE
    DWORD exStyle = 0;
    int id = 0;
  };

 protected:
  // Raises std::runtime_error when creation fails.
  void CreateControl(const wchar_t* className, const CreateArgs& args);
  // Messages to the control itself (keys, mouse), before its own procedure;
  // return true to stop there with `result`.
  virtual bool OnControlMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) {
    return false;
  }

 private:
  friend LRESULT CALLBACK ControlSubclassProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
};

// A child control's arguments: placed at (left, top) of `parent`, width x
// height, with a caption and styles.
[[nodiscard]] inline Control::CreateArgs ChildAt(HWND parent, int left, int top, int width,
                                                 int height, std::string text = {}, DWORD style = 0,
                                                 DWORD exStyle = 0) {
  Control::CreateArgs a;
  a.parent = parent;
  a.left = left;
  a.top = top;
  a.width = width;
  a.height = height;
  a.text = std::move(text);
  a.style = style;
  a.exStyle = exStyle;
  return a;
}

// Answers WM_PAINT: `paint(dc)` between BeginPaint and EndPaint.
template <typename Paint>
void PaintWindow(HWND hwnd, Paint paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (dc) paint(dc);
  EndPaint(hwnd, &ps);
}

// The full names of files dropped from the shell. The drop is finished at
// once, so that the system's memory is released whatever the caller then does.
[[nodiscard]] std::vector<std::string> DroppedNames(HDROP drop);

// The default GUI font of the system, shared (not to be deleted).
[[nodiscard]] HFONT DefaultGuiFont() noexcept;

}  // namespace kv::ui
