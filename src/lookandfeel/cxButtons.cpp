#include "lookandfeel/cxButtons.h"

#include <algorithm>

#include "forms/Forms.h"

namespace vormix {

namespace {

// The generated disabled look, kept beside the cells of the strip.
constexpr int kEmbossed = -1;

}  // namespace

// ---------------------------------------------------------------------------------------
// TcxButtonColors

void TcxButtonColors::SetColor(TcxButtonState state, TColor color) {
  if (color == clDefault || color == clNone) {
    m_colors[state] = clDefault;
    m_assigned &= ~ButtonStateBit(state);
  } else {
    m_colors[state] = color;
    m_assigned |= ButtonStateBit(state);
  }
  if (OnChanged) OnChanged();
}

void TcxButtonColors::Assign(const TcxButtonColors& other) {
  m_colors = other.m_colors;
  m_assigned = other.m_assigned;
  if (OnChanged) OnChanged();
}

// ---------------------------------------------------------------------------------------
// TcxButtonGlyph

void TcxButtonGlyph::SetGlyph(const TImage& glyph) {
  m_glyph = glyph.IsEmpty() ? TImage() : glyph;
  if (m_glyph.Height > 0 && m_glyph.Width % m_glyph.Height == 0) {
    const int cells = m_glyph.Width / m_glyph.Height;
    m_numGlyphs = cells < 5 ? cells : 1;
  }
  Changed();
}

void TcxButtonGlyph::SetNumGlyphs(int count) {
  count = std::clamp(count, 1, 4);
  if (count == m_numGlyphs) return;
  m_numGlyphs = count;
  Changed();
}

void TcxButtonGlyph::SetTransparentColor(TColor color) {
  if (color == m_transparentColor) return;
  m_transparentColor = color;
  Changed();
}

void TcxButtonGlyph::Changed() {
  m_images.clear();
  if (OnChange) OnChange();
}

TSize TcxButtonGlyph::CellSize() const {
  if (m_glyph.IsEmpty()) return {};
  return {m_glyph.Width / m_numGlyphs, m_glyph.Height};
}

int TcxButtonGlyph::CellFor(TcxButtonState state, int numGlyphs) {
  int cell = 0;
  if (state == cxbsPressed) cell = numGlyphs < 3 ? 0 : 2;
  else if (state == cxbsDisabled) cell = 1;
  return cell < numGlyphs ? cell : 0;
}

const TImage& TcxButtonGlyph::ImageFor(TcxButtonState state) {
  const bool embossed = state == cxbsDisabled && m_numGlyphs == 1;
  const int key = embossed ? kEmbossed : CellFor(state, m_numGlyphs);
  auto found = m_images.find(key);
  if (found != m_images.end()) return found->second;
  TImage image;
  if (embossed) image = EmbossedCell();
  else if (state == cxbsDisabled) image = RecolouredDisabledCell();
  else image = Cell(key);
  return m_images.emplace(key, std::move(image)).first->second;
}

TImage TcxButtonGlyph::Cell(int index) const {
  const TSize size = CellSize();
  TImage cell(size.Width, size.Height);
  for (int y = 0; y < size.Height; ++y)
    for (int x = 0; x < size.Width; ++x) cell.Set(x, y, m_glyph.At(index * size.Width + x, y));
  return cell;
}

// A one-cell strip has no disabled picture: its shape (every pixel that is neither the
// transparent colour nor white) is pressed into a face-coloured cell, a highlight copy
// one pixel right and down, the shadow in place.
TImage TcxButtonGlyph::EmbossedCell() const {
  const TImage source = Cell(0);
  TImage result(source.Width, source.Height, clBtnFace);
  auto inShape = [&](int x, int y) {
    const TColor c = source.At(x, y);
    return c != m_transparentColor && c != clWhite;
  };
  for (int y = 0; y < source.Height; ++y)
    for (int x = 0; x < source.Width; ++x)
      if (inShape(x, y) && x + 1 < source.Width && y + 1 < source.Height) result.Set(x + 1, y + 1, clBtnHighlight);
  for (int y = 0; y < source.Height; ++y)
    for (int x = 0; x < source.Width; ++x)
      if (inShape(x, y)) result.Set(x, y, clBtnShadow);
  return result;
}

// A strip with a disabled cell of its own keeps its drawing; its greys become the
// system's button colours, so it fits the face whatever the colour scheme.
TImage TcxButtonGlyph::RecolouredDisabledCell() const {
  TImage cell = Cell(CellFor(cxbsDisabled, m_numGlyphs));
  for (TColor& c : cell.Pixels) {
    if (c == clGray) c = clBtnShadow;
    else if (c == clSilver) c = clBtnFace;
    else if (c == clWhite) c = clBtnHighlight;
  }
  return cell;
}

// ---------------------------------------------------------------------------------------
// Layout of glyph and caption

TcxButtonContentPlace LayoutGlyphAndCaption(TSize client, TSize glyph, TSize text, TButtonLayout layout, int margin,
                                           int spacing) {
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  TPoint glyphAt, textAt;
  if (horizontal) {
    glyphAt.Y = (client.Height - glyph.Height) / 2;
    textAt.Y = (client.Height - text.Height - 1) / 2;
  } else {
    glyphAt.X = (client.Width - glyph.Width) / 2;
    textAt.X = (client.Width - text.Width) / 2;
  }
  if (text.Width == 0 || glyph.Width == 0) spacing = 0;
  const int alongClient = horizontal ? client.Width : client.Height;
  const int alongGlyph = horizontal ? glyph.Width : glyph.Height;
  const int alongText = horizontal ? text.Width : text.Height;
  if (margin == -1 && spacing == -1) {
    margin = (alongClient - alongGlyph - alongText) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (alongClient - alongGlyph - spacing - alongText) / 2;
  } else if (spacing == -1) {
    spacing = (alongClient - (margin + alongGlyph) - alongText) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      glyphAt.X = margin;
      textAt.X = margin + glyph.Width + spacing;
      break;
    case blGlyphRight:
      glyphAt.X = client.Width - margin - glyph.Width;
      textAt.X = glyphAt.X - spacing - text.Width;
      break;
    case blGlyphTop:
      glyphAt.Y = margin;
      textAt.Y = margin + glyph.Height + spacing;
      break;
    case blGlyphBottom:
      glyphAt.Y = client.Height - margin - glyph.Height;
      textAt.Y = glyphAt.Y - spacing - text.Height;
      break;
  }
  return {glyphAt, TRect::FromBounds(textAt.X, textAt.Y, text.Width, text.Height)};
}

// ---------------------------------------------------------------------------------------
// TcxCustomButton

TcxCustomButton::TcxCustomButton(std::string name) : TButton(std::move(name)) {
  m_glyph.OnChange = [this] { Invalidate(); };
  SetBounds(Left(), Top(), 75, 25);
  m_colors.OnChanged = [this] { Invalidate(); };
  m_lookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  m_lookAndFeel->OnLookAndFeelChanged = [this](TcxLookAndFeel&, TcxLookAndFeelValues) { RecreateWindow(); };
}

TcxCustomButton::~TcxCustomButton() {
  SetDropDownMenu(nullptr);
  SetPopupMenu(nullptr);
  m_dropDownPost.reset();
  m_cursorWatch.reset();
  m_lookAndFeel.reset();
  DestroyHandle();
}

void TcxCustomButton::SetKind(TcxButtonKind kind) {
  if (kind == m_kind) return;
  m_kind = kind;
  RecreateWindow();
}

void TcxCustomButton::SetLayout(TButtonLayout layout) {
  if (layout == m_layout) return;
  m_layout = layout;
  Invalidate();
}

void TcxCustomButton::SetMargin(int margin) {
  if (margin < -1 || margin == m_margin) return;
  m_margin = margin;
  Invalidate();
}

void TcxCustomButton::SetSpacing(int spacing) {
  if (spacing == m_spacing) return;
  m_spacing = spacing;
  Invalidate();
}

void TcxCustomButton::SetDropDownMenu(TPopupMenu* menu) {
  if (menu == m_dropDownMenu) return;
  if (m_dropDownMenu) m_dropDownMenu->RemoveFreeNotification(&m_dropDownMenu);
  m_dropDownMenu = menu;
  if (menu) menu->AddFreeNotification(&m_dropDownMenu, [this] { m_dropDownMenu = nullptr; });
}

void TcxCustomButton::SetPopupMenu(TComponent* menu) {
  if (auto* old = dynamic_cast<TPopupMenu*>(m_popupMenuComponent)) old->RemoveFreeNotification(&m_popupMenu);
  m_popupMenu = dynamic_cast<IcxPopupMenu*>(menu);
  m_popupMenuComponent = m_popupMenu ? menu : nullptr;
  if (auto* popup = dynamic_cast<TPopupMenu*>(m_popupMenuComponent)) {
    popup->AddFreeNotification(&m_popupMenu, [this] {
      m_popupMenu = nullptr;
      m_popupMenuComponent = nullptr;
    });
  }
}

const TcxCustomLookAndFeelPainter& TcxCustomButton::ButtonPainter() const {
  const TcxCustomLookAndFeelPainter& painter = m_lookAndFeel->PainterFor();
  if (painter.StyleCode() != 4) return painter;
  if (ThemeClassReady(tcButton)) return WinXPPainter();
  return StandardPainter();
}

bool TcxCustomButton::HotTrackingOn() const { return ButtonPainter().TracksHotPush() && Enabled(); }

TcxButtonState TcxCustomButton::PaintState() const {
  if (!Enabled()) return cxbsDisabled;
  if (m_downFromSystem || m_menuShowing) return cxbsPressed;
  if (m_isHot) return cxbsHot;
  if (m_focusFromSystem || m_isDefaultLook) return cxbsDefault;
  return cxbsNormal;
}

// ---- the window ----

std::unique_ptr<INativeWindow> TcxCustomButton::CreateNativeWindow(IWindowSystem& system,
                                                                   const TNativeWindowParams& params) {
  TNativeWindowParams p = params;
  p.Text = Caption();
  TNativeButtonStyle style;
  style.OwnerDraw = true;
  style.Default = Default;
  style.MultiLine = WordWrap;
  return system.CreateButton(p, style, *this);
}

void TcxCustomButton::NativeWindowCreated() {
  if (!m_glyph.IsEmpty()) m_glyph.ImageFor(Enabled() ? cxbsNormal : cxbsDisabled);
}

// Caption, place in the tab order and enabled state live in the control and go to the
// new window with it; only the focus has to be given back.
void TcxCustomButton::RecreateWindow() {
  if (!HandleAllocated()) return;
  const bool focused = Focused();
  DestroyHandle();
  HandleNeeded();
  if (focused) SetFocus();
}

void TcxCustomButton::RepaintNow() {
  if (INativeWindow* window = Window()) window->PaintNow();
}

// The system's push button would switch to the default button's style; the drawn
// button only changes its look.
void TcxCustomButton::SetButtonStyle(bool isDefault) {
  if (isDefault == m_isDefaultLook) return;
  m_isDefaultLook = isDefault;
  RepaintNow();
}

// ---- pressing and clicking ----

// A press first takes the focus. If the control being left refuses to let it go (a
// field whose text does not pass its check), the press is dropped and no click follows;
// a click that the focus change itself would cause is ignored.
bool TcxCustomButton::MouseDown(TMouseButton button, TPoint at, TShiftState) {
  if (button != TMouseButton::mbLeft) return true;
  if (!Focused()) {
    {
      TFlagScope disabled(m_clicksDisabled);
      SetFocus();
    }
    if (!Focused()) return false;
  }
  // A press while the menu is open closes it; the click it would give is swallowed.
  if (m_menuShowing) {
    m_skipClick = true;
    m_menuShowing = false;
    m_downFromSystem = false;
    RepaintNow();
    return true;
  }
  // The drop-down kinds open their menu instead of pressing the system button.
  const bool onArrow = m_kind == cxbkDropDownButton && ArrowRect().Contains(at);
  if (m_kind == cxbkDropDown || onArrow) {
    m_arrowDown = onArrow;
    PostDropDownMenu();
    return false;
  }
  return true;
}

void TcxCustomButton::Clicked() {
  if (m_clicksDisabled) return;
  if (m_skipClick) {
    m_skipClick = false;
    return;
  }
  Click();
}

void TcxCustomButton::Click() {
  if (m_kind == cxbkDropDown) {
    PostDropDownMenu();
    return;
  }
  TButton::Click();
}

// The shortcuts of the context menu work while the button has the focus; Alt or Shift
// with an up or down arrow opens the drop-down menu.
void TcxCustomButton::KeyDown(TKey& key, TShiftState shift) {
  if (m_popupMenu && m_popupMenu->IsShortCut(key, shift)) {
    key = 0;
    return;
  }
  if (m_kind != cxbkStandard && (shift & (ssAlt | ssShift)) && (key == vk::Up || key == vk::Down)) {
    PostDropDownMenu();
    key = 0;
  }
}

bool TcxCustomButton::NativeContextMenu(TPoint screen, bool keyboard) {
  bool shown = false;
  Guarded([&] {
    INativeWindow* window = Window();
    if (!m_popupMenu || !window) return;
    const TPoint at = keyboard ? window->ClientToScreen({0, 0}) : screen;
    if (!ClientRect().Contains(window->ScreenToClient(at))) return;
    shown = true;
    m_popupMenu->Popup(at);
  });
  return shown;
}

// ---- the drop-down menu ----

void TcxCustomButton::PostDropDownMenu() {
  IWindowSystem* system = WindowSystem();
  if (!system) return;
  if (!m_dropDownPost) {
    m_dropDownPost = system->CreateTimer([this] {
      Guarded([&] {
        m_dropDownPost->SetEnabled(false);
        DropDownMenuNow();
      });
    });
    m_dropDownPost->SetInterval(0);
  }
  m_dropDownPost->SetEnabled(true);
}

// Opens below the button, on its left or right edge or centred; where the screen ends
// too soon below it, above the button.
void TcxCustomButton::DropDownMenuNow() {
  TPopupMenu* menu = m_dropDownMenu;
  bool handled = false;
  if (OnDropDownMenuPopup) OnDropDownMenuPopup(*this, menu, handled);
  INativeWindow* window = Window();
  if (!menu || handled || !window) {
    m_arrowDown = false;
    return;
  }
  m_menuShowing = true;
  RepaintNow();
  TPoint at = window->ClientToScreen({0, Height()});
  TMenuHorizontalAlign horizontal = TMenuHorizontalAlign::mhaLeft;
  if (m_popupAlignment == paRight) {
    at.X += Width();
    horizontal = TMenuHorizontalAlign::mhaRight;
  } else if (m_popupAlignment == paCenter) {
    at.X += Width() / 2;
    horizontal = TMenuHorizontalAlign::mhaCenter;
  }
  TMenuVerticalAlign vertical = TMenuVerticalAlign::mvaTop;
  if (menu->WorkAreaAt(at).Bottom - at.Y < menu->MenuHeight()) {
    at.Y = window->ClientToScreen({0, 0}).Y - 2;
    vertical = TMenuVerticalAlign::mvaBottom;
  }
  TMenuItem* chosen = menu->Track(at, horizontal, vertical);
  RecomputeHot();
  m_menuShowing = false;
  RepaintNow();
  m_arrowDown = false;
  // Last: the item's handler may do anything, even close the form.
  if (chosen) ClickMenuItem(*chosen, *menu);
}

// ---- painting ----

void TcxCustomButton::NativeDrawItem(ICanvas& canvas, bool selected, bool focused) {
  Guarded([&] {
    m_downFromSystem = selected && !m_arrowDown;
    m_focusFromSystem = focused;
    // Painted off-screen and copied in one transfer, so a repaint never flickers.
    const TRect r = ClientRect();
    if (r.IsEmpty()) return;
    std::unique_ptr<IBitmapCanvas> buffer = canvas.CreateBitmap(r.Width(), r.Height());
    Paint(*buffer);
    canvas.BitBlt(r, *buffer, {0, 0}, TRasterOp::roSrcCopy);
  });
}

bool TcxCustomButton::NativeEraseBackground() {
  bool skip = true;
  Guarded([&] { skip = !ButtonPainter().IsNative(); });
  return skip;
}

void TcxCustomButton::Paint(ICanvas& canvas) {
  const TcxCustomLookAndFeelPainter& painter = ButtonPainter();
  TRect r = ClientRect();
  if (painter.IsNative()) {
    const TThemeHandle theme = ThemeHandle(tcButton);
    if (theme && IsThemeBackgroundPartiallyTransparent(theme, 1, 1) && Window())
      DrawThemeParentBackground(*Window(), canvas, &r);
  }

  TRect arrowRect;
  if (m_kind == cxbkDropDown) m_downFromSystem = m_menuShowing;
  if (m_kind == cxbkDropDownButton) {
    arrowRect = {r.Right - kArrowWidth, r.Top, r.Right, r.Bottom};
    r.Right = arrowRect.Left + 2;
    if (m_arrowDown) m_downFromSystem = false;
  }
  const TcxButtonState state = PaintState();

  TFontSpec font = Font();
  TColor face = m_colors.Color(state);
  font.Color = painter.PushInkColor(state);
  if (OnGetDrawParams) OnGetDrawParams(*this, state, face, font);
  canvas.SetFont(font);
  canvas.SetTextColor(font.Color);

  painter.PaintPushButton(canvas, r, {}, state, true, face, font.Color);

  const int shift = state == cxbsPressed ? painter.PushPressShift() : 0;
  const std::optional<TRegion> savedClip = canvas.GetClipRegion();
  const int frame = painter.PushFrameWidth(state);
  canvas.IntersectClipRect(r.Inflated(-frame, -frame));
  // The themed face may have left its own text colour in the canvas.
  canvas.SetFont(font);
  canvas.SetTextColor(font.Color);
  try {
    PaintContent(canvas, r, state, {shift, shift});
  } catch (...) {
    canvas.SelectClipRegion(savedClip);
    throw;
  }
  canvas.SelectClipRegion(savedClip);

  if (m_kind == cxbkDropDownButton) {
    painter.PaintPushButton(canvas, arrowRect, {}, state, true, face, font.Color);
    painter.PaintStateArrow(canvas, arrowRect, state, adDown);
  }

  if (Focused() && !m_menuShowing) {
    const TRect focusRect = painter.PushFocusBounds(canvas, r);
    // The dotted mark inverts what lies below it whatever the colours in the canvas.
    canvas.SetBrush(clWhite);
    canvas.SetBackgroundColor(clWhite);
    canvas.SetTextColor(clBlack);
    canvas.DrawFocusRect(focusRect);
  }
}

// The glyph and the caption in the rectangle of the face, moved by the press offset.
void TcxCustomButton::PaintContent(ICanvas& canvas, const TRect& rect, TcxButtonState state, TPoint offset) {
  const std::string& caption = Caption();
  const bool wordWrap = WordWrap && m_glyph.IsEmpty();
  const TTextFlags wrap = wordWrap ? dtWordBreak : 0;
  const TSize client = rect.Size();
  TSize text;
  if (!caption.empty()) {
    TRect measured{0, 0, client.Width, 0};
    canvas.DrawText(measured, caption, dtCalcRect | wrap);
    text = measured.Size();
  }
  const TcxButtonContentPlace place =
      LayoutGlyphAndCaption(client, m_glyph.CellSize(), text, m_layout, m_margin, m_spacing);
  if (!m_glyph.IsEmpty()) {
    const TPoint at{place.Glyph.X + offset.X, place.Glyph.Y + offset.Y};
    canvas.DrawImageTransparent(at, m_glyph.ImageFor(state), m_glyph.TransparentColor());
  }
  if (!caption.empty()) PaintCaption(canvas, place.Text.Offset(offset.X, offset.Y), state, dtCenter | dtVCenter | wrap);
}

void TcxCustomButton::PaintCaption(ICanvas& canvas, TRect box, TcxButtonState state, TTextFlags flags) {
  const int level = canvas.Save();
  canvas.SetBrushClear();
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  if (state == cxbsDisabled) {
    const TColor ink = canvas.TextColor();
    TRect embossed = box.Offset(1, 1);
    canvas.SetTextColor(clBtnHighlight);
    canvas.DrawText(embossed, Caption(), flags);
    canvas.SetTextColor(ink);
  }
  canvas.DrawText(box, Caption(), flags);
  canvas.Restore(level);
}

// ---- the hot look ----

bool TcxCustomButton::IsMouseCapturedAnywhere() const {
  IWindowSystem* system = WindowSystem();
  return system && system->IsMouseCaptured();
}

void TcxCustomButton::NativeMouseEnter() {
  Guarded([&] { MouseEntered(); });
}

void TcxCustomButton::NativeMouseMove(TPoint at, TShiftState) {
  Guarded([&] {
    if (!m_isHot && ClientRect().Contains(at)) MouseEntered();
  });
}

void TcxCustomButton::NativeMouseLeave() {
  Guarded([&] { MouseLeft(); });
}

void TcxCustomButton::MouseEntered() {
  if (m_isHot || !HotTrackingOn() || IsMouseCapturedAnywhere()) return;
  StartCursorWatch();
  m_isHot = true;
  RepaintNow();
}

void TcxCustomButton::MouseLeft() {
  StopCursorWatch();
  if (!m_isHot || !HotTrackingOn()) return;
  m_isHot = false;
  Invalidate();
}

// When the capture ends (the press is over) the button is hot again if the pointer is
// still on it; the watch then looks out for it leaving.
void TcxCustomButton::NativeCaptureLost() {
  Guarded([&] { RecomputeHot(); });
}

void TcxCustomButton::RecomputeHot() {
  IWindowSystem* system = WindowSystem();
  INativeWindow* window = Window();
  m_isHot = HotTrackingOn() && system && window && system->WindowFromPoint(system->CursorPos()) == window;
  if (m_isHot) StartCursorWatch();
}

void TcxCustomButton::EnabledChanged() {
  TButton::EnabledChanged();
  if (Enabled()) return;
  m_isHot = false;
  StopCursorWatch();
}

void TcxCustomButton::StartCursorWatch() {
  IWindowSystem* system = WindowSystem();
  INativeWindow* window = Window();
  if (!system || !window) return;
  if (!m_cursorWatch) m_cursorWatch = system->CreateTimer([this] { Guarded([&] { WatchCursor(); }); });
  const TSize size = window->ClientSize();
  const TPoint origin = window->ClientToScreen({0, 0});
  m_watchedRect = TRect::FromBounds(origin.X, origin.Y, size.Width, size.Height);
  m_cursorWatch->SetInterval(kCursorWatchInterval);
  m_cursorWatch->SetEnabled(true);
}

void TcxCustomButton::StopCursorWatch() {
  if (m_cursorWatch) m_cursorWatch->SetEnabled(false);
}

void TcxCustomButton::WatchCursor() {
  IWindowSystem* system = WindowSystem();
  if (!system || m_watchedRect.Contains(system->CursorPos())) return;
  MouseLeft();
}

}  // namespace vormix
