#pragma once
// The masked text editor level. Every editor of this program has an empty mask, and
// with an empty mask this level only changes one default: Enter checks the text.
#include "editors/cxTextEdit.h"

namespace vormix {

class TcxCustomMaskEditProperties : public TcxCustomTextEditProperties {
 public:
  explicit TcxCustomMaskEditProperties(TcxCustomEdit* owner = nullptr) : TcxCustomTextEditProperties(owner) {
    BeginUpdate();
    SetValidateOnEnter(true);
    EndUpdate();
  }
};

class TcxCustomMaskEdit : public TcxCustomTextEdit {
 protected:
  using TcxCustomTextEdit::TcxCustomTextEdit;
};

}  // namespace vormix
