// The help dialog (template 12), run modally for F1: a short list of the
// keys, "Brukerveiledning" (1202) and "Lukk" (2). Its caption is the
// program's name and version. Its set-up puts the mouse on button 2, asks for
// the cursor to be held in the dialog and sets the input mode 8.
//
// 1202 opens "Brukdokk.doc" of the current folder (its name in any case) with
// the desktop's viewer and closes the dialog; when the document is not there a
// box titled "Solvanor V lite" names it (the document is not shipped with the
// program). Closing in any way sets the input mode 0, frees the cursor and
// asks the chart window for a redraw.
//
//   TF1Dlg help(chart);
//   help.Execute();
#pragma once

#include "dialogs/TMapDialog.h"
#include "resources/DialogTemplates.h"

// The help document, looked for in the current folder.
inline constexpr const char* kHelpDocument = "Brukdokk.doc";
inline constexpr int kHelpManualButton = 1202;

class TF1Dlg : public TMapDialog {
  public:
    explicit TF1Dlg(TMapWindow* owner, int resId = kHelpTemplate);
    ~TF1Dlg() override;

    void CmManual();

  protected:
    void SetupWindow() override;
    void CleanupWindow() override;

    DECLARE_RESPONSE_TABLE(TF1Dlg);
};
