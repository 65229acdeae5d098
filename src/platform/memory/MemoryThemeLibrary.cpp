#include "platform/memory/MemoryThemeLibrary.h"

#include <algorithm>
#include <iterator>

namespace vormix {

namespace {

constexpr const char* kKnownClasses[] = {
    "Button", "Clock",   "ComboBox",   "Edit",   "ExplorerBar", "Header",   "ListView", "Menu",
    "Page",   "Progress", "Rebar",     "ScrollBar", "Spin",     "StartPanel", "Status", "Tab",
    "TaskBand", "TaskBar", "ToolBar",  "ToolTip", "TrackBar",   "TrayNotify", "TreeView", "Window"};

int ClassNumber(const std::string& className) {
  auto found = std::find_if(std::begin(kKnownClasses), std::end(kKnownClasses),
                            [&](const char* c) { return className == c; });
  return found == std::end(kKnownClasses) ? 63 : static_cast<int>(found - std::begin(kKnownClasses));
}

}  // namespace

TColor MemoryThemeLibrary::FrameColor(const std::string& className) {
  return RGBColor(0x10, 0x20, static_cast<std::uint8_t>(0x40 + 3 * ClassNumber(className)));
}

TColor MemoryThemeLibrary::FillColor(const std::string& className, int part, int state) {
  return RGBColor(static_cast<std::uint8_t>(0x80 + 8 * (part & 15)),
                  static_cast<std::uint8_t>(0x80 + 16 * (state & 7)),
                  static_cast<std::uint8_t>(0x40 + 3 * ClassNumber(className)));
}

void MemoryThemeLibrary::SetClassOpens(const std::string& className, bool opens) {
  if (opens) m_failingClasses.erase(className);
  else m_failingClasses.insert(className);
}

void MemoryThemeLibrary::SetOperationMissing(const std::string& name, bool missing) {
  if (missing) m_missing.insert(name);
  else m_missing.erase(name);
}

void MemoryThemeLibrary::SetContentMargins(const std::string& className, int part, int state, TRect margins) {
  m_margins[{className, part, state}] = margins;
}

void MemoryThemeLibrary::SetColor(const std::string& className, int part, int state, int property, TColor color) {
  m_colors[{className, part, state, property}] = color;
}

void MemoryThemeLibrary::SetPartSize(const std::string& className, int part, TThemeSize size, TSize value) {
  m_sizes[{className, part, static_cast<int>(size)}] = value;
}

void MemoryThemeLibrary::SetPartiallyTransparent(const std::string& className, int part, int state,
                                                 bool transparent) {
  m_transparent[{className, part, state}] = transparent;
}

std::vector<TThemeCall> MemoryThemeLibrary::CallsOf(const std::string& operation) const {
  std::vector<TThemeCall> calls;
  std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(calls),
               [&](const TThemeCall& c) { return c.Operation == operation; });
  return calls;
}

std::string MemoryThemeLibrary::ClassOf(TThemeHandle theme) const {
  auto found = m_open.find(theme);
  return found == m_open.end() ? std::string() : found->second;
}

bool MemoryThemeLibrary::HasOperation(std::string_view name) const {
  const bool known = std::any_of(std::begin(kThemeLibraryOperations), std::end(kThemeLibraryOperations),
                                 [&](const char* op) { return name == op; });
  return Loaded && known && !m_missing.count(std::string(name));
}

bool MemoryThemeLibrary::Enter(const char* operation, TThemeHandle theme, int part, int state, TRect rect) {
  m_calls.push_back({operation, ClassOf(theme), part, state, rect});
  return HasOperation(operation);
}

TRect MemoryThemeLibrary::Margins(const std::string& className, int part, int state) const {
  if (auto found = m_margins.find({className, part, state}); found != m_margins.end()) return found->second;
  if (auto found = m_margins.find({className, part, -1}); found != m_margins.end()) return found->second;
  return {2, 2, 2, 2};
}

bool MemoryThemeLibrary::IsThemeActive() { return Enter("IsThemeActive", 0) && Active; }

TThemeHandle MemoryThemeLibrary::OpenThemeData(INativeWindow*, std::string_view classList) {
  const std::string className(classList);
  m_calls.push_back({"OpenThemeData", className, 0, 0, {}});
  if (!HasOperation("OpenThemeData") || !Active || m_failingClasses.count(className)) return 0;
  const TThemeHandle theme = m_nextHandle++;
  m_open[theme] = className;
  return theme;
}

bool MemoryThemeLibrary::CloseThemeData(TThemeHandle theme) {
  if (!Enter("CloseThemeData", theme)) return false;
  return m_open.erase(theme) != 0;
}

bool MemoryThemeLibrary::DrawThemeBackground(TThemeHandle theme, ICanvas& canvas, int part, int state,
                                             const TRect& rect, const TRect* clip) {
  if (!Enter("DrawThemeBackground", theme, part, state, rect) || !m_open.count(theme)) return false;
  const std::string& className = m_open[theme];
  canvas.Save();
  if (clip) canvas.IntersectClipRect(*clip);
  canvas.FillRect(rect, FrameColor(className));
  canvas.FillRect(rect.Inflated(-1, -1), FillColor(className, part, state));
  canvas.Restore();
  return true;
}

bool MemoryThemeLibrary::DrawThemeText(TThemeHandle theme, ICanvas& canvas, int part, int state,
                                       std::string_view text, TTextFlags flags, unsigned, const TRect& rect) {
  if (!Enter("DrawThemeText", theme, part, state, rect) || !m_open.count(theme)) return false;
  constexpr int kTextColor = 3803;
  auto scripted = m_colors.find({m_open[theme], part, state, kTextColor});
  canvas.SetTextColor(scripted != m_colors.end() ? scripted->second : clBlack);
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  TRect r = rect;
  canvas.DrawText(r, text, flags);
  return true;
}

bool MemoryThemeLibrary::DrawThemeParentBackground(INativeWindow&, ICanvas& canvas, const TRect* rect) {
  if (!Enter("DrawThemeParentBackground", 0, 0, 0, rect ? *rect : TRect{})) return false;
  const TFontSpec font = canvas.Font();
  if (rect) canvas.FillRect(*rect, ParentBackground);
  canvas.SetFont(font);
  return true;
}

std::optional<TRect> MemoryThemeLibrary::GetThemeBackgroundContentRect(TThemeHandle theme, ICanvas*, int part,
                                                                       int state, const TRect& bounds) {
  if (!Enter("GetThemeBackgroundContentRect", theme, part, state, bounds) || !m_open.count(theme)) return {};
  const TRect m = Margins(m_open[theme], part, state);
  return TRect{bounds.Left + m.Left, bounds.Top + m.Top, bounds.Right - m.Right, bounds.Bottom - m.Bottom};
}

std::optional<TColor> MemoryThemeLibrary::GetThemeColor(TThemeHandle theme, int part, int state, int property) {
  if (!Enter("GetThemeColor", theme, part, state) || !m_open.count(theme)) return {};
  auto found = m_colors.find({m_open[theme], part, state, property});
  if (found == m_colors.end()) return {};
  return found->second;
}

std::optional<TSize> MemoryThemeLibrary::GetThemePartSize(TThemeHandle theme, ICanvas*, int part, int state,
                                                          const TRect*, TThemeSize size) {
  if (!Enter("GetThemePartSize", theme, part, state) || !m_open.count(theme)) return {};
  auto found = m_sizes.find({m_open[theme], part, static_cast<int>(size)});
  if (found == m_sizes.end()) return {};
  return found->second;
}

std::optional<TRegion> MemoryThemeLibrary::GetThemeBackgroundRegion(TThemeHandle theme, ICanvas*, int part,
                                                                    int state, const TRect& rect) {
  if (!Enter("GetThemeBackgroundRegion", theme, part, state, rect) || !m_open.count(theme)) return {};
  return TRegion(rect);
}

std::optional<TRect> MemoryThemeLibrary::DrawThemeEdge(TThemeHandle theme, ICanvas& canvas, int part, int state,
                                                       const TRect& rect, TEdgeFlags edge, TEdgeSides sides) {
  if (!Enter("DrawThemeEdge", theme, part, state, rect) || !m_open.count(theme)) return {};
  canvas.DrawEdge(rect, edge, sides);
  return rect.Inflated(-2, -2);
}

bool MemoryThemeLibrary::IsThemeBackgroundPartiallyTransparent(TThemeHandle theme, int part, int state) {
  if (!Enter("IsThemeBackgroundPartiallyTransparent", theme, part, state) || !m_open.count(theme)) return false;
  auto found = m_transparent.find({m_open[theme], part, state});
  return found != m_transparent.end() && found->second;
}

std::optional<IThemeLibrary::TThemeName> MemoryThemeLibrary::GetCurrentThemeName() {
  if (!Enter("GetCurrentThemeName", 0) || !Active) return {};
  return ThemeName;
}

}  // namespace vormix
