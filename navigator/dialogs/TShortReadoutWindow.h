// A short read-out for a few seconds at the chart window's top right corner
// (template 5, a child of the chart window): a title (501) and a line of
// three texts joined by two blanks (502). It stands 3 pixels inside the
// chart window's top and right edges and is 540 pixels high.
//
// The chart window keeps it in its `shortReadout` field and destroys it at
// the 50th count of its dialog counter after it was shown (about 10 s);
// closing it in any way clears the field. What it shows is the caller's.
//
//   TShortReadoutWindow::Show(*chart, "Dybde", "12.4", "mtr", "");
#pragma once

#include "dialogs/TMapDialog.h"
#include "resources/DialogTemplates.h"

#include <string>

inline constexpr int kShortReadoutTitle = 501, kShortReadoutLine = 502;
// The dialog counts (200 ms each) the read-out stays.
inline constexpr int kShortReadoutCounts = 50;
inline constexpr int kShortReadoutHeight = 540, kShortReadoutInset = 3;

// The line of the three texts.
std::string ShortReadoutLine(const char* first, const char* second, const char* third);

class TShortReadoutWindow : public TMapDialog {
  public:
    explicit TShortReadoutWindow(TMapWindow* owner, int resId = kShortReadoutTemplate);
    ~TShortReadoutWindow() override;

    // The title and the line (null texts count as empty).
    void SetTexts(const char* title, const char* first, const char* second, const char* third);

    // Shows the texts on the chart window: the read-out is made and created
    // when it has none, else it gets the new texts; the chart window's dialog
    // counter starts again at 0.
    static TShortReadoutWindow& Show(TMapWindow& chart, const char* title, const char* first,
                                     const char* second, const char* third);

  protected:
    void SetupWindow() override;
    void CleanupWindow() override;

  private:
    std::string title_, line_;
};
