#include "app/AboutFrm.h"

namespace vormix {

TAboutForm* AboutForm = nullptr;

namespace {

TFontSpec LabelFont(const char* name, int height, bool bold = false, TColor color = clWindowText) {
  TFontSpec font;
  font.Name = name;
  font.Height = -height;
  font.Bold = bold;
  font.Color = color;
  return font;
}

// The toolkit's default font, which labels without a font of their own use.
TFontSpec DefaultFont() { return LabelFont("MS Sans Serif", 11); }

}  // namespace

TAboutForm::TAboutForm(TApplication& application) : TCustomForm(application, "AboutForm") {
  SetCaption("关于");
  SetClientSize(351, 249);
  SetPosition(TFormPosition::poScreenCenter);
  TNativeFormStyle style;
  style.SystemMenu = true;
  style.MinimizeBox = false;
  style.MaximizeBox = false;
  style.Sizeable = false;
  style.DialogFrame = true;
  SetBorderStyle(style);

  Image1 = std::make_unique<TImageBox>("Image1");
  Image1->SetBounds(21, 24, 32, 32);
  Image1->SetParent(this);
  Image1->SetPicture(application.Platform().Windows.ApplicationIcon(kIconTransparentColor), kIconTransparentColor);

  struct TLabelPlace {
    std::unique_ptr<TcxLabel>* Label;
    const char* Name;
    int Left, Top, Width, Height;
    const char* Caption;
    TFontSpec Font;
  };
  const TLabelPlace labels[] = {
      {&cxLabel1, "cxLabel1", 68, 16, 86, 30, "Kelvane", LabelFont("Comic Sans MS", 19)},
      {&cxLabel2, "cxLabel2", 65, 48, 205, 43, "Vormix ", LabelFont("华文中宋", 25, true)},
      {&cxLabel3, "cxLabel3", 68, 86, 95, 25, "Version: 2.0", LabelFont("Comic Sans MS", 15, true)},
      {&cxLabel4, "cxLabel4", 68, 121, 122, 17, kLegalNotice, DefaultFont()},
      {&cxLabel5, "cxLabel5", 188, 121, 102, 17, "Kelvane Corporation", LabelFont("MS Sans Serif", 11)},
      {&cxLabel7, "cxLabel7", 68, 143, 76, 17, kAuthorLine, DefaultFont()},
      {&cxLabel6, "cxLabel6", 68, 165, 116, 17, kMakerAddress, LabelFont("MS Sans Serif", 11, false, clBlue)},
  };
  int id = kAboutLabelId;
  for (const TLabelPlace& place : labels) {
    auto label = std::make_unique<TcxLabel>(place.Name);
    label->BeginLoading();
    label->SetBounds(place.Left, place.Top, place.Width, place.Height);
    label->SetFont(place.Font);
    label->SetCaption(place.Caption);
    label->SetControlId(++id);
    label->SetParent(this);
    *place.Label = std::move(label);
  }
  cxLabel2->Properties().SetLabelEffect(TcxLabelEffect::cxleFun);
  cxLabel2->Properties().SetLabelStyle(TcxLabelStyle::cxlsLowered);
  cxLabel2->Properties().SetDepth(8);
  cxLabel6->SetCursor(TCursor::crHandPoint);
  cxLabel6->OnClick = [this](TObject& sender) { cxLabel6Click(sender); };
  for (auto* label : {&cxLabel1, &cxLabel2, &cxLabel3, &cxLabel4, &cxLabel5, &cxLabel7, &cxLabel6})
    (*label)->EndLoading();

  Bevel1 = std::make_unique<TBevel>("Bevel1");
  Bevel1->SetBounds(71, 190, 217, 5);
  Bevel1->Shape = TBevelShape::bsBottomLine;
  Bevel1->SetParent(this);

  cxButton1 = std::make_unique<TcxButton>("cxButton1");
  cxButton1->SetBounds(215, 200, 75, 25);
  cxButton1->SetParent(this);
  cxButton1->SetCaption("确定");
  cxButton1->SetTabOrder(6);
  cxButton1->SetControlId(kAboutButtonId + 1);
  cxButton1->LookAndFeel().SetKind(TcxLookAndFeelKind::lfStandard);
  cxButton1->LookAndFeel().SetNativeStyle(true);
  cxButton1->OnClick = [this](TObject& sender) { cxButton1Click(sender); };
}

TAboutForm::~TAboutForm() = default;

// The shell's answer is of no use here: when nothing opens the address, the dialog
// simply stays as it is.
void TAboutForm::cxLabel6Click(TObject&) {
  Application().Platform().Shell.OpenAddress(Window(), kMakerAddress);
}

void TAboutForm::cxButton1Click(TObject&) { Close(); }

}  // namespace vormix
