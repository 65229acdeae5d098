#pragma once
// The look-and-feel settings every editor control and button paints by: which classic
// look (Kind) and whether the system's visual styles are used when a theme is in force
// (NativeStyle). A setting a look-and-feel does not assign itself comes from its source,
// and the chain of sources ends at the one global look-and-feel. From the values in
// force it picks the painter to draw with, anew at every paint.
#include <functional>
#include <memory>
#include <vector>

#include "forms/Classes.h"
#include "lookandfeel/cxLookAndFeelPainters.h"

namespace vormix {

enum class TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };

enum TcxLookAndFeelValue { lfvKind, lfvNativeStyle };
using TcxLookAndFeelValues = unsigned;  // bit 0 lfvKind, bit 1 lfvNativeStyle
constexpr TcxLookAndFeelValues lfvsKind = 1u << lfvKind, lfvsNativeStyle = 1u << lfvNativeStyle,
                               lfvsAll = lfvsKind | lfvsNativeStyle;

class TcxLookAndFeel;

// What inherits from a look-and-feel: other look-and-feels and the controllers.
class LookAndFeelFollower {
 public:
  virtual ~LookAndFeelFollower() = default;
  virtual TObject& GetFollowerObject() = 0;
  virtual void SourceChanged(TcxLookAndFeel& source, TcxLookAndFeelValues changed) = 0;
  virtual void SourceDestroying(TcxLookAndFeel& source) = 0;
};

class TcxLookAndFeelController;

class TcxLookAndFeel : public TObject, public LookAndFeelFollower {
 public:
  // owner: the control or style that holds it.
  explicit TcxLookAndFeel(TObject* owner = nullptr);
  ~TcxLookAndFeel() override;

  TObject* Owner() const { return m_owner; }
  bool IsGlobal() const { return m_isGlobal; }

  TcxLookAndFeelKind Kind() const { return m_effectiveKind; }
  void SetKind(TcxLookAndFeelKind kind);
  bool NativeStyle() const { return m_effectiveNativeStyle; }
  void SetNativeStyle(bool nativeStyle);
  TcxLookAndFeelValues AssignedValues() const { return m_assignedValues; }
  void SetAssignedValues(TcxLookAndFeelValues values);

  // The explicit source; none means the global look-and-feel.
  TcxLookAndFeel* SourceLookAndFeel() const { return m_source; }
  void SetSourceLookAndFeel(TcxLookAndFeel* source);

  // Copies another look-and-feel's own settings and its source.
  void Assign(const TcxLookAndFeel& other);

  // The painter to draw with now; with a theme class, native only if that class opens.
  const TcxCustomLookAndFeelPainter& PainterFor() const;
  const TcxCustomLookAndFeelPainter& PainterFor(ThemeClassId themeClass) const;

  // The owner's handler, called after the followers.
  std::function<void(TcxLookAndFeel& sender, TcxLookAndFeelValues changed)> OnLookAndFeelChanged;

  void AddFollower(LookAndFeelFollower& follower);
  void RemoveFollower(LookAndFeelFollower& follower);
  int FollowerCount() const { return static_cast<int>(m_followers.size()); }
  int ControllerCount() const { return m_controllerCount; }

  // LookAndFeelFollower
  TObject& GetFollowerObject() override { return *this; }
  void SourceChanged(TcxLookAndFeel& source, TcxLookAndFeelValues changed) override;
  void SourceDestroying(TcxLookAndFeel& source) override;

 private:
  friend class TcxLookAndFeelRuntime;
  struct GlobalTag {};
  TcxLookAndFeel(GlobalTag);

  TcxLookAndFeel* CurrentSource() const;
  bool IsCurrentSource(const TcxLookAndFeel* source) const;
  void ReplaceSource(TcxLookAndFeel* source);
  TcxLookAndFeelKind ComputeKind() const;
  bool ComputeNativeStyle() const;
  void NotifyChanged(TcxLookAndFeelValues values);
  // Runs a change of several values at once and notifies what differs afterwards.
  template <class Change>
  void MultiValueChange(Change&& change);
  void SystemPaletteChanged() { NotifyChanged(lfvsNativeStyle); }

  TObject* m_owner = nullptr;
  TcxLookAndFeelValues m_assignedValues = 0;
  std::vector<LookAndFeelFollower*> m_followers;
  TcxLookAndFeelKind m_effectiveKind = TcxLookAndFeelKind::lfUltraFlat;
  bool m_effectiveNativeStyle = false;
  TcxLookAndFeelKind m_storedKind = TcxLookAndFeelKind::lfUltraFlat;
  bool m_storedNativeStyle = false;
  bool m_destroying = false;
  bool m_isGlobal = false;
  TcxLookAndFeel* m_source = nullptr;
  int m_controllerCount = 0;
  std::unique_ptr<TcxSystemPaletteChangedNotifier> m_paletteNotifier;
};

// The process-wide look-and-feel at the end of every chain of sources; null before
// start-up and after shutdown.
TcxLookAndFeel* GlobalLookAndFeel();

// A component that edits the global look-and-feel while it exists.
class TcxLookAndFeelController : public TComponent, public LookAndFeelFollower {
 public:
  explicit TcxLookAndFeelController(std::string name = {});
  ~TcxLookAndFeelController() override;

  TcxLookAndFeelKind Kind() const;
  void SetKind(TcxLookAndFeelKind kind);
  bool NativeStyle() const;
  void SetNativeStyle(bool nativeStyle);

  TObject& GetFollowerObject() override { return *this; }
  void SourceChanged(TcxLookAndFeel&, TcxLookAndFeelValues) override {}
  void SourceDestroying(TcxLookAndFeel& source) override;

 private:
  TcxLookAndFeel* m_global = nullptr;
};

// Start-up and shutdown of the look-and-feel side, in their order: the visual-styles
// library is bound, the theme manager reads whether a theme is active and opens its
// receiver, the painters build their resources, the global look-and-feel is created;
// destruction runs the other way round.
class TcxLookAndFeelRuntime {
 public:
  TcxLookAndFeelRuntime(IThemeLibrary& library, IWindowSystem* windows);
  ~TcxLookAndFeelRuntime();
  TcxLookAndFeelRuntime(const TcxLookAndFeelRuntime&) = delete;
  TcxLookAndFeelRuntime& operator=(const TcxLookAndFeelRuntime&) = delete;

  TdxThemeManager& ThemeManager() { return m_themes; }

 private:
  TdxUxThemeBinding m_binding;
  TdxThemeManager m_themes;
  TcxPainterModule m_painters;
  std::unique_ptr<TcxLookAndFeel> m_global;
  TcxLookAndFeel* m_previousGlobal;
};

}  // namespace vormix
