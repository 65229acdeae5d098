#pragma once
// Controls: TControl is anything with bounds on a parent; TWinControl owns a native
// window, takes part in the tab order and the keyboard focus, and turns the native
// window's events into the control's own handlers.
#include <memory>
#include <string>
#include <vector>

#include "base/Color.h"
#include "base/Geometry.h"
#include "forms/Classes.h"
#include "platform/Canvas.h"
#include "platform/NativeWindow.h"

namespace vormix {

class TApplication;
class TCustomForm;
class TWinControl;
class IWindowSystem;

class TControl : public TComponent {
 public:
  explicit TControl(std::string name = {});
  ~TControl() override;

  TWinControl* Parent() const { return m_parent; }
  virtual void SetParent(TWinControl* parent);
  TCustomForm* GetParentForm() const;
  TApplication* Application() const;

  int Left() const { return m_bounds.Left; }
  int Top() const { return m_bounds.Top; }
  int Width() const { return m_bounds.Width(); }
  int Height() const { return m_bounds.Height(); }
  const TRect& BoundsRect() const { return m_bounds; }
  void SetBounds(int left, int top, int width, int height);
  TRect ClientRect() const { return {0, 0, Width(), Height()}; }

  bool Visible() const { return m_visible; }
  void SetVisible(bool visible);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled);
  bool IsShowing() const;  // visible, and so is every parent

  // Font and colour, inherited from the parent unless set on the control itself.
  const TFontSpec& Font() const;
  void SetFont(const TFontSpec& font);
  bool ParentFont() const { return m_parentFont; }
  TColor Color() const;
  void SetColor(TColor color);

  // Graphic controls (labels, bevels) draw on their parent's canvas at their bounds.
  virtual void Paint(ICanvas& /*canvas*/) {}
  virtual void Invalidate();
  virtual bool IsWindowed() const { return false; }

  // Multiplies positions and sizes by m/d, as a form laid out for another screen
  // resolution does for all its controls.
  virtual void ScaleBy(int m, int d);

  // While a form assigns a control's stored settings the control is loading; when the
  // form is done, Loaded lets the control settle what depends on several settings.
  bool IsLoading() const { return m_loading; }
  void BeginLoading();
  void EndLoading();

 protected:
  friend class TWinControl;
  virtual void LoadingStarted() {}
  virtual void Loaded() {}
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void FontChanged() {}

 private:
  TWinControl* m_parent = nullptr;
  TRect m_bounds;
  bool m_visible = true;
  bool m_enabled = true;
  bool m_parentFont = true;
  bool m_parentColor = true;
  bool m_loading = false;
  TFontSpec m_font;
  TColor m_color = clBtnFace;
};

class TWinControl : public TControl, protected INativeWindowHandler {
 public:
  explicit TWinControl(std::string name = {});
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }
  const std::vector<TControl*>& Controls() const { return m_controls; }

  int TabOrder() const { return m_tabOrder; }
  void SetTabOrder(int order) { m_tabOrder = order; }
  bool TabStop() const { return m_tabStop; }
  void SetTabStop(bool tabStop) { m_tabStop = tabStop; }
  // Windowed children in tab order (ties keep their creation order).
  std::vector<TWinControl*> TabList() const;
  // This control's windowed descendants, depth first, in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;

  // A stable number for the native window, so that tools outside the program can find it.
  int ControlId() const { return m_controlId; }
  void SetControlId(int id) { m_controlId = id; }

  // The pointer's shape over the control.
  TCursor Cursor() const { return m_cursor; }
  void SetCursor(TCursor cursor);

  bool HandleAllocated() const { return m_window != nullptr; }
  void HandleNeeded();
  virtual void DestroyHandle();
  INativeWindow* Window() const { return m_window.get(); }

  virtual bool CanFocus() const;
  virtual void SetFocus();
  virtual bool Focused() const;
  // The native window that takes the keyboard focus for this control: its own, or an
  // inner one (an editor's native edit control inside its frame).
  virtual INativeWindow* FocusWindow() const { return Window(); }

  void Invalidate() override;
  void Update();  // repaint what is invalid now, not at the next paint cycle
  void ScaleBy(int m, int d) override;

  // Paints the control as it shows on screen into another canvas, its top-left corner
  // at the canvas's logical (0, 0), and with it, when asked, its windowed children.
  // Meanwhile the control counts as painting a copy, so that a transparent control
  // inside it keeps what the canvas holds instead of capturing its background again.
  void PaintCopy(ICanvas& canvas, bool withChildren) const;
  bool IsPaintingCopy() const;

  // The control's own text as the native window holds it.
  virtual std::string Text() const;
  virtual void SetText(const std::string& text);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

  // Focus moves made by the form: entry and exit processing.
  virtual void DoEnter();
  virtual void DoExit();
  // Enter, Escape and other keys nobody else wanted; true when this control took it.
  virtual bool WantsDialogKey(TKey /*key*/, TShiftState /*shift*/) { return false; }
  // A character that the focused control does not take (an accelerator); true when this
  // control took it.
  virtual bool WantsDialogChar(char16_t /*ch*/) { return false; }
  // A windowed control of the same form is leaving it: references to it must go.
  virtual void ControlLeavingForm(TWinControl* /*control*/) {}

 protected:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  // Creates the native window; the default is a window the control paints itself.
  virtual std::unique_ptr<INativeWindow> CreateNativeWindow(IWindowSystem& system,
                                                            const TNativeWindowParams& params);
  virtual void NativeWindowCreated() {}
  TNativeWindowParams WindowParams() const;
  IWindowSystem* WindowSystem() const;

  // What this control wants to receive instead of the form's dialog-key handling.
  virtual TDialogCodes DialogCodes(TShiftState /*shift*/) const { return 0; }
  // The control's own processing after the user's event handler.
  virtual void KeyDown(TKey& /*key*/, TShiftState /*shift*/) {}
  virtual void KeyPress(char16_t& /*key*/) {}
  virtual void KeyUp(TKey& /*key*/, TShiftState /*shift*/) {}
  virtual bool MouseDown(TMouseButton /*button*/, TPoint /*at*/, TShiftState /*shift*/) { return true; }
  virtual void MouseUp(TMouseButton /*button*/, TPoint /*at*/, TShiftState /*shift*/) {}
  virtual void Clicked() {}
  virtual void TextChanged() {}
  virtual bool CanPaste() { return true; }
  virtual bool CanCut() { return true; }
  // Paints the control's own face; then its graphic children are painted over it.
  virtual void PaintWindow(ICanvas& canvas);

  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void FontChanged() override;

  // Runs a piece of event handling; an error that escapes it goes to the application's
  // error report, so that nothing ever unwinds into the platform's window procedure.
  template <class Body>
  void Guarded(Body&& body);
  void ReportError(std::exception_ptr error);

  // INativeWindowHandler
  void NativePaint(ICanvas& canvas) override;
  void NativeFocusIn() override;
  bool NativeDialogKey(TKey key, TShiftState shift) override;
  void NativeKeyDown(TKey& key, TShiftState shift) override;
  void NativeChar(char16_t& ch) override;
  void NativeKeyUp(TKey& key, TShiftState shift) override;
  bool NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) override;
  void NativeMouseUp(TMouseButton button, TPoint at, TShiftState shift) override;
  void NativeClicked() override;
  void NativeTextChanged() override;
  bool NativePaste() override;
  bool NativeCut() override;

 private:
  std::vector<TControl*> m_controls;  // creation order, which is also the paint order
  std::unique_ptr<INativeWindow> m_window;
  int m_tabOrder = -1;
  bool m_tabStop = false;
  int m_controlId = 0;
  TCursor m_cursor = TCursor::crDefault;
  std::string m_text;  // kept while there is no native window
  mutable int m_paintingCopy = 0;
};

template <class Body>
void TWinControl::Guarded(Body&& body) {
  try {
    body();
  } catch (...) {
    ReportError(std::current_exception());
  }
}

}  // namespace vormix
