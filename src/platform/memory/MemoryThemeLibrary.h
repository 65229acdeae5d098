#pragma once
// A visual-styles library in memory that tests script: whether it is loaded and a theme
// active, which classes open, and what content rectangles, colours, part sizes and
// transparency it reports. It draws every part as a recognisable pattern (a frame in
// the class's colour around a fill that encodes part and state) and records each call.
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ThemeLibrary.h"

namespace vormix {

struct TThemeCall {
  std::string Operation;
  std::string ClassName;  // of the theme handle, where the call has one
  int Part = 0;
  int State = 0;
  TRect Rect;

  bool operator==(const TThemeCall&) const = default;
};

class MemoryThemeLibrary : public IThemeLibrary {
 public:
  // ---- what the library is like ----
  bool Loaded = true;
  bool Active = true;
  void SetClassOpens(const std::string& className, bool opens);
  void SetOperationMissing(const std::string& name, bool missing = true);
  // The content rectangle of a part is its bounds less these distances (2 on every side
  // unless set); state -1 stands for every state.
  void SetContentMargins(const std::string& className, int part, int state, TRect margins);
  void SetColor(const std::string& className, int part, int state, int property, TColor color);
  void SetPartSize(const std::string& className, int part, TThemeSize size, TSize value);
  void SetPartiallyTransparent(const std::string& className, int part, int state, bool transparent);
  TThemeName ThemeName{"luna.msstyles", "NormalColor", "NormalSize"};
  // What DrawThemeParentBackground paints: the parent's face, as the window shows it.
  TColor ParentBackground = 0x00C0C0C0;

  // ---- what a drawn part looks like ----
  static TColor FrameColor(const std::string& className);
  static TColor FillColor(const std::string& className, int part, int state);

  // ---- what was asked ----
  const std::vector<TThemeCall>& Calls() const { return m_calls; }
  std::vector<TThemeCall> CallsOf(const std::string& operation) const;
  void ClearCalls() { m_calls.clear(); }
  int OpenHandleCount() const { return static_cast<int>(m_open.size()); }
  std::string ClassOf(TThemeHandle theme) const;

  // ---- IThemeLibrary ----
  bool IsLoaded() const override { return Loaded; }
  bool HasOperation(std::string_view name) const override;
  bool IsThemeActive() override;
  TThemeHandle OpenThemeData(INativeWindow* window, std::string_view classList) override;
  bool CloseThemeData(TThemeHandle theme) override;
  bool DrawThemeBackground(TThemeHandle theme, ICanvas& canvas, int part, int state, const TRect& rect,
                           const TRect* clip) override;
  bool DrawThemeText(TThemeHandle theme, ICanvas& canvas, int part, int state, std::string_view text,
                     TTextFlags flags, unsigned flags2, const TRect& rect) override;
  bool DrawThemeParentBackground(INativeWindow& window, ICanvas& canvas, const TRect* rect) override;
  std::optional<TRect> GetThemeBackgroundContentRect(TThemeHandle theme, ICanvas* canvas, int part, int state,
                                                     const TRect& bounds) override;
  std::optional<TColor> GetThemeColor(TThemeHandle theme, int part, int state, int property) override;
  std::optional<TSize> GetThemePartSize(TThemeHandle theme, ICanvas* canvas, int part, int state,
                                        const TRect* rect, TThemeSize size) override;
  std::optional<TRegion> GetThemeBackgroundRegion(TThemeHandle theme, ICanvas* canvas, int part, int state,
                                                  const TRect& rect) override;
  std::optional<TRect> DrawThemeEdge(TThemeHandle theme, ICanvas& canvas, int part, int state, const TRect& rect,
                                     TEdgeFlags edge, TEdgeSides sides) override;
  bool IsThemeBackgroundPartiallyTransparent(TThemeHandle theme, int part, int state) override;
  std::optional<TThemeName> GetCurrentThemeName() override;

 private:
  // Records the call and answers whether it can be made at all.
  bool Enter(const char* operation, TThemeHandle theme, int part = 0, int state = 0, TRect rect = {});
  TRect Margins(const std::string& className, int part, int state) const;

  std::vector<TThemeCall> m_calls;
  std::set<std::string> m_failingClasses;
  std::set<std::string> m_missing;
  std::map<std::tuple<std::string, int, int>, TRect> m_margins;
  std::map<std::tuple<std::string, int, int, int>, TColor> m_colors;
  std::map<std::tuple<std::string, int, int>, TSize> m_sizes;
  std::map<std::tuple<std::string, int, int>, bool> m_transparent;
  std::map<TThemeHandle, std::string> m_open;
  TThemeHandle m_nextHandle = 0x100;
};

}  // namespace vormix
