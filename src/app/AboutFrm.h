#pragma once
// The About dialog: the program's icon, maker, title with its depth effect, version,
// notice and author lines, the maker's web address as a link, and the OK button. It is
// made for one showing and destroyed when it closes.
#include <memory>

#include "editors/cxLabel.h"
#include "forms/ExtCtrls.h"
#include "forms/Forms.h"
#include "lookandfeel/cxButtons.h"

namespace vormix {

inline constexpr const char* kMakerAddress = "https://vormix.example.org";
inline constexpr const char* kLegalNotice = "Copyright (C) 2026";
inline constexpr const char* kAuthorLine = "Vormix 开发组";
// The colour the icon's transparent pixels are given: none of the icon's 16 colours.
inline constexpr TColor kIconTransparentColor = RGBColor(0x01, 0x02, 0x03);

// Control ids of the dialog's windows, so that tools outside the program find them.
constexpr int kAboutLabelId = 500, kAboutButtonId = 510;

class TAboutForm : public TCustomForm {
 public:
  explicit TAboutForm(TApplication& application);
  ~TAboutForm() override;

  void cxLabel6Click(TObject& sender);   // open the maker's web address
  void cxButton1Click(TObject& sender);  // close

  std::unique_ptr<TImageBox> Image1;
  std::unique_ptr<TcxLabel> cxLabel1, cxLabel2, cxLabel3, cxLabel4, cxLabel5, cxLabel7, cxLabel6;
  std::unique_ptr<TBevel> Bevel1;
  std::unique_ptr<TcxButton> cxButton1;
};

// The dialog while it exists, else null.
extern TAboutForm* AboutForm;

}  // namespace vormix
