#pragma once
// The look-and-feel settings every editor control and button paints by: the kind of
// look and whether the system's visual styles are used when available. An unassigned
// setting follows the defaults.
#include <functional>

namespace vormix {

enum class TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };

using TcxLookAndFeelValues = unsigned;
constexpr TcxLookAndFeelValues lfvKind = 1, lfvNativeStyle = 2;

class TcxLookAndFeel {
 public:
  TcxLookAndFeelKind Kind() const { return (m_assigned & lfvKind) ? m_kind : kDefaultKind; }
  void SetKind(TcxLookAndFeelKind kind);
  bool NativeStyle() const { return (m_assigned & lfvNativeStyle) ? m_nativeStyle : kDefaultNativeStyle; }
  void SetNativeStyle(bool nativeStyle);
  TcxLookAndFeelValues AssignedValues() const { return m_assigned; }
  void Reset();

  // Called after every change, so that the owner can lay itself out and repaint.
  std::function<void()> OnChanged;

  static constexpr TcxLookAndFeelKind kDefaultKind = TcxLookAndFeelKind::lfUltraFlat;
  static constexpr bool kDefaultNativeStyle = false;

 private:
  void Changed();
  TcxLookAndFeelKind m_kind = kDefaultKind;
  bool m_nativeStyle = kDefaultNativeStyle;
  TcxLookAndFeelValues m_assigned = 0;
};

}  // namespace vormix
