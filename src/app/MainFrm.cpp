#include "app/MainFrm.h"

#include "app/AboutFrm.h"

#include "base/Variant.h"

namespace vormix {

namespace {

struct TLabelPlace {
  int Number;
  int Left, Top;
  const char* Caption;
};

// Label2 to Label17 on Panel1, in creation order.
constexpr TLabelPlace kParameterLabels[] = {
    {2, 15, 19, "参数1基数："},  {10, 15, 46, "参数1步长："}, {3, 186, 19, "参数2基数："},
    {4, 357, 19, "参数3基数："}, {5, 528, 19, "参数4基数："}, {6, 15, 91, "参数5基数："},
    {7, 186, 91, "参数6基数："}, {8, 357, 91, "参数7基数："}, {9, 528, 91, "参数8基数："},
    {11, 15, 118, "参数5步长："}, {12, 186, 46, "参数2步长："}, {13, 357, 46, "参数3步长："},
    {14, 528, 46, "参数4步长："}, {15, 186, 118, "参数6步长："}, {16, 357, 118, "参数7步长："},
    {17, 528, 118, "参数8步长："}};

struct TFieldPlace {
  int Number;
  int Left, Top;
};

// The sixteen parameter fields on Panel1, in creation order: each column holds
// parameter n above parameter n + 4, base above step.
constexpr TFieldPlace kParameterFields[] = {
    {1, 81, 15},   {2, 81, 42},   {9, 81, 87},   {10, 81, 114}, {3, 252, 15},  {4, 252, 42},
    {11, 252, 87}, {12, 252, 114}, {5, 423, 15}, {6, 423, 42},  {13, 423, 87}, {14, 423, 114},
    {7, 594, 15},  {8, 594, 42},  {15, 594, 87}, {16, 594, 114}};

template <class T>
std::unique_ptr<T> Make(const char* name, TWinControl& parent, int left, int top, int width, int height) {
  auto control = std::make_unique<T>(name);
  control->SetBounds(left, top, width, height);
  control->SetParent(&parent);
  return control;
}

}  // namespace

TMainForm::TMainForm(TApplication& application) : TCustomForm(application, "MainForm") {
  SetCaption("Vormix V2.0");
  SetClientSize(722, 566);
  SetPosition(TFormPosition::poScreenCenter);
  TNativeFormStyle style;
  style.SystemMenu = true;
  style.MinimizeBox = true;
  style.MaximizeBox = false;
  style.Sizeable = false;
  SetBorderStyle(style);
  CreateControls();
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateControls() {
  Label1 = Make<TLabel>("Label1", *this, 20, 14, 156, 12);
  Label1->SetCaption("命令模板：(参数格式为：%d)");

  Panel1 = Make<TPanel>("Panel1", *this, 18, 90, 685, 150);
  Panel1->BevelInner = TPanelBevel::bvRaised;
  Panel1->BevelOuter = TPanelBevel::bvLowered;
  Panel1->SetTabOrder(1);

  for (std::size_t i = 0; i < std::size(kParameterLabels); ++i) {
    const TLabelPlace& p = kParameterLabels[i];
    const std::string name = "Label" + std::to_string(p.Number);
    auto label = Make<TLabel>(name.c_str(), *Panel1, p.Left, p.Top, 66, 12);
    label->SetCaption(p.Caption);
    ParameterLabels[static_cast<std::size_t>(p.Number - 2)] = std::move(label);
  }

  Bevel1 = Make<TBevel>("Bevel1", *Panel1, 1, 71, 682, 5);
  Bevel1->Shape = TBevelShape::bsBottomLine;
  Bevel2 = Make<TBevel>("Bevel2", *Panel1, 171, 1, 5, 147);
  Bevel3 = Make<TBevel>("Bevel3", *Panel1, 342, 1, 5, 147);
  Bevel4 = Make<TBevel>("Bevel4", *Panel1, 514, 1, 5, 147);
  for (TBevel* bevel : {Bevel2.get(), Bevel3.get(), Bevel4.get()}) bevel->Shape = TBevelShape::bsLeftLine;

  std::unique_ptr<TNumericField>* fields[] = {
      &cxSpinEdit1,  &cxSpinEdit2,  &cxSpinEdit3,  &cxSpinEdit4,  &cxSpinEdit5,  &cxSpinEdit6,
      &cxSpinEdit7,  &cxSpinEdit8,  &cxSpinEdit9,  &cxSpinEdit10, &cxSpinEdit11, &cxSpinEdit12,
      &cxSpinEdit13, &cxSpinEdit14, &cxSpinEdit15, &cxSpinEdit16, &cxSpinEdit17};
  for (const TFieldPlace& p : kParameterFields) {
    const std::string name = "cxSpinEdit" + std::to_string(p.Number);
    auto& field = *fields[p.Number - 1];
    field = Make<TNumericField>(name.c_str(), *Panel1, p.Left, p.Top, 75, 20);
    field->BeginLoading();
    field->SetTabOrder(p.Number - 1);
    // Even fields are steps and start at 1; odd ones are bases and keep their first 0.
    if (p.Number % 2 == 0) field->SetValue(1);
  }

  cxMemo1 = Make<TTextArea>("cxMemo1", *this, 18, 32, 685, 57);
  cxMemo1->Properties().SetScrollBars(TScrollStyle::ssVertical);
  cxMemo1->SetTabOrder(0);

  Panel2 = Make<TPanel>("Panel2", *this, 18, 240, 685, 305);
  Panel2->BevelInner = TPanelBevel::bvRaised;
  Panel2->BevelOuter = TPanelBevel::bvLowered;
  Panel2->SetTabOrder(2);

  Label18 = Make<TLabel>("Label18", *Panel2, 15, 16, 60, 12);
  Label18->SetCaption("命令数量：");

  cxMemo2 = Make<TTextArea>("cxMemo2", *Panel2, 13, 41, 578, 226);
  cxMemo2->Properties().SetScrollBars(TScrollStyle::ssBoth);
  cxMemo2->SetTabOrder(1);

  cxSpinEdit17 = Make<TNumericField>("cxSpinEdit17", *Panel2, 81, 12, 75, 20);
  cxSpinEdit17->BeginLoading();
  cxSpinEdit17->SetTabOrder(0);
  cxSpinEdit17->SetValue(100);

  const char* captions[] = {"生成命令", "保存结果", "关于", "退出"};
  std::unique_ptr<TPushButton>* buttons[] = {&cxButton1, &cxButton2, &cxButton3, &cxButton4};
  for (int i = 0; i < 4; ++i) {
    const std::string name = "cxButton" + std::to_string(i + 1);
    auto& button = *buttons[i];
    button = Make<TPushButton>(name.c_str(), *Panel2, 600, 41 + 47 * i, 70, 25);
    button->SetCaption(captions[i]);
    button->SetTabOrder(2 + i);
    button->SetControlId(kButtonId + i + 1);
    button->LookAndFeel().SetKind(TcxLookAndFeelKind::lfStandard);
    button->LookAndFeel().SetNativeStyle(true);
  }

  cxProgressBar1 = Make<TCommandProgress>("cxProgressBar1", *Panel2, 13, 270, 578, 20);
  cxProgressBar1->BeginLoading();
  cxProgressBar1->SetTabOrder(6);
  cxProgressBar1->SetControlId(kProgressBarId);
  cxProgressBar1->Style().LookAndFeel.SetKind(TcxLookAndFeelKind::lfStandard);
  cxProgressBar1->Style().LookAndFeel.SetNativeStyle(true);
  cxProgressBar1->EndLoading();

  SaveDialog1 = std::make_unique<TSaveDialog>(*this, "SaveDialog1");
  SaveDialog1->DefaultExt = ".txt";
  SaveDialog1->Filter = "文本文件(*.txt)|*.txt";
  SaveDialog1->FilterIndex = 1;
  SaveDialog1->Options = ofOverwritePrompt | ofHideReadOnly | ofEnableSizing;

  for (int n = 1; n <= 17; ++n) {
    m_fields[static_cast<std::size_t>(n - 1)] = fields[n - 1]->get();
    Field(n).SetControlId(kNumericFieldId + n);
  }
  cxMemo1->SetControlId(kMemoId + 1);
  cxMemo2->SetControlId(kMemoId + 2);
  for (TTextArea* memo : {cxMemo1.get(), cxMemo2.get()}) {
    memo->Style().LookAndFeel.SetKind(TcxLookAndFeelKind::lfStandard);
    memo->Style().LookAndFeel.SetNativeStyle(true);
  }

  using Handler = void (TMainForm::*)(TObject&, char16_t&);
  static constexpr Handler kKeyPress[] = {
      &TMainForm::cxSpinEdit1KeyPress,  &TMainForm::cxSpinEdit2KeyPress,  &TMainForm::cxSpinEdit3KeyPress,
      &TMainForm::cxSpinEdit4KeyPress,  &TMainForm::cxSpinEdit5KeyPress,  &TMainForm::cxSpinEdit6KeyPress,
      &TMainForm::cxSpinEdit7KeyPress,  &TMainForm::cxSpinEdit8KeyPress,  &TMainForm::cxSpinEdit9KeyPress,
      &TMainForm::cxSpinEdit10KeyPress, &TMainForm::cxSpinEdit11KeyPress, &TMainForm::cxSpinEdit12KeyPress,
      &TMainForm::cxSpinEdit13KeyPress, &TMainForm::cxSpinEdit14KeyPress, &TMainForm::cxSpinEdit15KeyPress,
      &TMainForm::cxSpinEdit16KeyPress, &TMainForm::cxSpinEdit17KeyPress};
  for (int n = 1; n <= 17; ++n) {
    Handler handler = kKeyPress[n - 1];
    TNumericField& field = Field(n);
    field.OnKeyPress = [this, handler](TObject& sender, char16_t& key) { (this->*handler)(sender, key); };
    field.Style().LookAndFeel.SetKind(TcxLookAndFeelKind::lfStandard);
    field.Style().LookAndFeel.SetNativeStyle(true);
    // The stored settings are in place: the field settles them without telling anyone.
    field.EndLoading();
  }

  cxButton1->OnClick = [this](TObject& sender) { cxButton1Click(sender); };
  cxButton2->OnClick = [this](TObject& sender) { cxButton2Click(sender); };
  cxButton3->OnClick = [this](TObject& sender) { cxButton3Click(sender); };
  cxButton4->OnClick = [this](TObject& sender) { cxButton4Click(sender); };
}

// ---------------------------------------------------------------------------------------
// The sign-key rule

void TMainForm::ApplySignKeyRule(TNumericField& field, char16_t& key) {
  if ((key == u'+' || key == u'-') && !field.Text().empty()) {
    key = 0;
    Application().Beep();
  }
}

void TMainForm::cxSpinEdit1KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit1, key); }
void TMainForm::cxSpinEdit2KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit2, key); }
void TMainForm::cxSpinEdit3KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit3, key); }
void TMainForm::cxSpinEdit4KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit4, key); }
void TMainForm::cxSpinEdit5KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit5, key); }
void TMainForm::cxSpinEdit6KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit6, key); }
void TMainForm::cxSpinEdit7KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit7, key); }
void TMainForm::cxSpinEdit8KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit8, key); }
void TMainForm::cxSpinEdit9KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit9, key); }
void TMainForm::cxSpinEdit10KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit10, key); }
void TMainForm::cxSpinEdit11KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit11, key); }
void TMainForm::cxSpinEdit12KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit12, key); }
void TMainForm::cxSpinEdit13KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit13, key); }
void TMainForm::cxSpinEdit14KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit14, key); }
void TMainForm::cxSpinEdit15KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit15, key); }
void TMainForm::cxSpinEdit16KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit16, key); }
void TMainForm::cxSpinEdit17KeyPress(TObject&, char16_t& key) { ApplySignKeyRule(*cxSpinEdit17, key); }

// ---------------------------------------------------------------------------------------
// Generating the batch

void TMainForm::ShowPrompt(const char* text) {
  Application().MessageBox(text, kPromptCaption, TMessageIcon::Information, this);
}

void TMainForm::cxButton1Click(TObject&) {
  const std::string templ = cxMemo1->Text();
  if (!HasMarker(templ)) {
    cxMemo2->ClearValue();
    ShowPrompt(kNoMarkerMessage);
    cxMemo1->SetFocus();
    return;
  }
  const std::int64_t count = VariantToInt64(cxSpinEdit17->Value());
  if (count <= 0) {
    cxMemo2->ClearValue();
    ShowPrompt(kCountMessage);
    cxSpinEdit17->SetFocus();
    return;
  }
  ParameterValues bases{};
  ParameterValues steps{};
  for (int n = 1; n <= ParameterCount; ++n) bases[static_cast<std::size_t>(n - 1)] = VariantToInteger(Field(2 * n - 1).Value());
  for (int n = 1; n <= ParameterCount; ++n) steps[static_cast<std::size_t>(n - 1)] = VariantToInteger(Field(2 * n).Value());

  cxMemo2->ClearValue();
  cxProgressBar1->Properties().SetMax(static_cast<double>(count));
  const std::int32_t last = VariantToInteger(Variant::FromInt64(count - 1));
  RunBatch(templ, bases, steps, last);
  cxProgressBar1->ClearValue();
}

// The template cannot change while the batch runs (no messages are handled), so it is
// read once. The lines are held and handed to the results area in one piece, and the
// progress bar is painted straight into its window after each command whenever its
// picture changes (an unchanged picture already shows the new position).
void TMainForm::RunBatch(const std::string& templ, const ParameterValues& bases,
                         const ParameterValues& steps, std::int32_t last) {
  TcxMemoLines& lines = cxMemo2->Lines();
  lines.BeginUpdate();
  try {
    GenerateCommands(
        templ, bases, steps, last, [&](std::string_view command) { lines.Add(command); },
        [&](std::int64_t done) {
          cxProgressBar1->SetPosition(static_cast<double>(done));
          cxProgressBar1->RepaintNow();
        });
  } catch (...) {
    try {
      lines.EndUpdate();  // what was generated before the failure stays
    } catch (...) {
    }
    throw;
  }
  lines.EndUpdate();
}

// ---------------------------------------------------------------------------------------
// Saving the results

void TMainForm::cxButton2Click(TObject&) {
  if (!SaveDialog1->Execute()) return;
  cxMemo2->Lines().SaveToFile(SaveDialog1->FileName);
}

// A fresh dialog for every click, gone again when it closes, also when showing it failed.
void TMainForm::cxButton3Click(TObject&) {
  struct TForget {
    ~TForget() { AboutForm = nullptr; }
  } forget;
  auto dialog = std::make_unique<TAboutForm>(Application());
  AboutForm = dialog.get();
  dialog->ShowModal();
}

void TMainForm::cxButton4Click(TObject&) { Close(); }

}  // namespace vormix
