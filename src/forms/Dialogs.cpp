#include "forms/Dialogs.h"

#include "forms/Forms.h"

namespace vormix {

TPoint PlaceCommonDialog(const TRect& monitorArea, TSize dialogSize) {
  return {monitorArea.Left + (monitorArea.Width() - dialogSize.Width) / 2,
          monitorArea.Top + (monitorArea.Height() - dialogSize.Height) / 3};
}

TSaveDialog::TSaveDialog(TCustomForm& owner, std::string name) : TComponent(std::move(name)), m_owner(owner) {}

bool TSaveDialog::Execute() {
  TApplication& app = m_owner.Application();
  TSaveDialogRequest request;
  request.Owner = m_owner.Window();
  request.Title = Title;
  request.InitialDir = InitialDir;
  request.FileName = FileName;
  // The system wants the default extension without its dot; with one it would add two.
  request.DefaultExt = !DefaultExt.empty() && DefaultExt.front() == '.' ? DefaultExt.substr(1) : DefaultExt;
  request.Filter = Filter;
  request.FilterIndex = FilterIndex;
  request.OverwritePrompt = (Options & ofOverwritePrompt) != 0;
  request.HideReadOnly = (Options & ofHideReadOnly) != 0;
  request.EnableSizing = (Options & ofEnableSizing) != 0;
  request.Place = PlaceCommonDialog;

  TWinControl* focused = m_owner.ActiveControl();
  std::string chosen;
  bool confirmed = false;
  {
    TModalScope modal(app, &m_owner);
    confirmed = app.Platform().SaveDialog.Execute(request, chosen);
  }
  if (focused && focused->CanFocus()) focused->SetFocus();
  if (confirmed) FileName = chosen;
  return confirmed;
}

}  // namespace vormix
