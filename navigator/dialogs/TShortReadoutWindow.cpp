#include "dialogs/TShortReadoutWindow.h"

#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"

std::string ShortReadoutLine(const char* first, const char* second, const char* third) {
    const auto text = [](const char* t) { return std::string(t ? t : ""); };
    return text(first) + "  " + text(second) + "  " + text(third);
}

TShortReadoutWindow::TShortReadoutWindow(TMapWindow* owner, int resId) : TMapDialog(owner, resId) {}

TShortReadoutWindow::~TShortReadoutWindow() {
    Destroy();
}

void TShortReadoutWindow::SetTexts(const char* title, const char* first, const char* second,
                                   const char* third) {
    title_ = title ? title : "";
    line_ = ShortReadoutLine(first, second, third);
    if (!IsWindow()) return;
    SetDlgItemText(kShortReadoutTitle, title_.c_str());
    SetDlgItemText(kShortReadoutLine, line_.c_str());
}

TShortReadoutWindow& TShortReadoutWindow::Show(TMapWindow& chart, const char* title,
                                               const char* first, const char* second,
                                               const char* third) {
    auto* readout = dynamic_cast<TShortReadoutWindow*>(chart.shortReadout);
    if (!readout) {
        readout = new TShortReadoutWindow(&chart);
        chart.shortReadout = readout;
        readout->SetTexts(title, first, second, third);
        readout->Create();
    } else {
        readout->SetTexts(title, first, second, third);
    }
    ChartWindowState().dialogCounter = 0;
    return *readout;
}

void TShortReadoutWindow::SetupWindow() {
    TMapDialog::SetupWindow();
    SetDlgItemText(kShortReadoutTitle, title_.c_str());
    SetDlgItemText(kShortReadoutLine, line_.c_str());
    if (owner_) {
        const int width = GetWindowRect().Width();
        SetWindowPos(nullptr, owner_->GetClientRect().right - width - kShortReadoutInset,
                     kShortReadoutInset, width, kShortReadoutHeight,
                     ui::SWP_NOZORDER | ui::SWP_NOACTIVATE);
    }
}

void TShortReadoutWindow::CleanupWindow() {
    if (owner_ && owner_->shortReadout == this) owner_->shortReadout = nullptr;
    TMapDialog::CleanupWindow();
}
