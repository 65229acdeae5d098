#pragma once
// The main window: the template area, sixteen parameter fields in a grid, the command
// count, the results area, the progress bar and four buttons.
#include <array>
#include <memory>
#include <string>

#include "app/Generator.h"
#include "editors/cxMemo.h"
#include "editors/cxProgressBar.h"
#include "editors/cxSpinEdit.h"
#include "forms/Dialogs.h"
#include "forms/ExtCtrls.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "lookandfeel/cxButtons.h"

namespace vormix {

// The kinds of control the window is built from. Each names the one class that stands
// for it, so a better control can take its place without the handlers noticing.
using TNumericField = TcxSpinEdit;
using TTextArea = TcxMemo;
using TCommandProgress = TcxProgressBar;
using TPushButton = TcxButton;

// Control ids of the native windows, stable so that tools outside the program can find
// a control: numeric field n has 100 + n, the memos 201 and 202, button n 300 + n.
constexpr int kNumericFieldId = 100, kMemoId = 200, kButtonId = 300, kProgressBarId = 400;

// The message texts of the generate button.
inline constexpr const char* kNoMarkerMessage = "请输入带有\"%d\"格式参数的命令模板！";
inline constexpr const char* kCountMessage = "命令数量要>0！";
inline constexpr const char* kPromptCaption = "提示";

class TMainForm : public TCustomForm {
 public:
  explicit TMainForm(TApplication& application);
  ~TMainForm() override;

  // Field n (1 to 17): 2n−1 and 2n are the base and step of parameter n, 17 the count.
  TNumericField& Field(int n) const { return *m_fields.at(static_cast<std::size_t>(n - 1)); }

  void cxButton1Click(TObject& sender);  // generate
  void cxButton2Click(TObject& sender);  // save the results
  void cxButton3Click(TObject& sender);  // the About dialog
  void cxButton4Click(TObject& sender);  // exit

  void cxSpinEdit1KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit2KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit3KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit4KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit5KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit6KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit7KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit8KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit9KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit10KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit11KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit12KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit13KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit14KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit15KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit16KeyPress(TObject& sender, char16_t& key);
  void cxSpinEdit17KeyPress(TObject& sender, char16_t& key);

  std::unique_ptr<TLabel> Label1;
  std::unique_ptr<TPanel> Panel1;
  std::array<std::unique_ptr<TLabel>, 16> ParameterLabels;  // Label2 .. Label17
  std::unique_ptr<TBevel> Bevel1, Bevel2, Bevel3, Bevel4;
  std::unique_ptr<TNumericField> cxSpinEdit1, cxSpinEdit2, cxSpinEdit3, cxSpinEdit4, cxSpinEdit5,
      cxSpinEdit6, cxSpinEdit7, cxSpinEdit8, cxSpinEdit9, cxSpinEdit10, cxSpinEdit11, cxSpinEdit12,
      cxSpinEdit13, cxSpinEdit14, cxSpinEdit15, cxSpinEdit16, cxSpinEdit17;
  std::unique_ptr<TTextArea> cxMemo1;
  std::unique_ptr<TPanel> Panel2;
  std::unique_ptr<TLabel> Label18;
  std::unique_ptr<TTextArea> cxMemo2;
  std::unique_ptr<TPushButton> cxButton1, cxButton2, cxButton3, cxButton4;
  std::unique_ptr<TCommandProgress> cxProgressBar1;
  std::unique_ptr<TSaveDialog> SaveDialog1;

 private:
  void CreateControls();
  // A sign may only be typed into an empty field.
  void ApplySignKeyRule(TNumericField& field, char16_t& key);
  void ShowPrompt(const char* text);
  void RunBatch(const std::string& templ, const ParameterValues& bases, const ParameterValues& steps,
                std::int32_t last);

  std::array<TNumericField*, 17> m_fields{};
};

}  // namespace vormix
