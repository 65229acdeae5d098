#include "lookandfeel/cxLookAndFeels.h"

namespace vormix {

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind kind) {
  if ((m_assigned & lfvKind) && kind == m_kind) return;
  m_kind = kind;
  m_assigned |= lfvKind;
  Changed();
}

void TcxLookAndFeel::SetNativeStyle(bool nativeStyle) {
  if ((m_assigned & lfvNativeStyle) && nativeStyle == m_nativeStyle) return;
  m_nativeStyle = nativeStyle;
  m_assigned |= lfvNativeStyle;
  Changed();
}

void TcxLookAndFeel::Reset() {
  if (m_assigned == 0) return;
  m_assigned = 0;
  Changed();
}

void TcxLookAndFeel::Changed() {
  if (OnChanged) OnChanged();
}

}  // namespace vormix
