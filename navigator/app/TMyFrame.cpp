#include "app/TMyFrame.h"

#include "app/ViewerModule.h"
#include "app/ViewerSettings.h"
#include "gadgets/TCoordGadget.h"
#include "gadgets/TInfoGadget.h"
#include "gadgets/TScaleGadget.h"

TMyFrame::TMyFrame(ui::TMDIClient& client, ui::TModule* module)
    : TDecoratedMDIFrame(kViewerTitle, 0, client, false, module) {
    const gdi::LogFont font = ui::TGadgetWindowFont(10);
    controlBar_ = new ui::TControlBar(this, ui::TGadgetWindow::Horizontal, &font, module);
    controlBar_->Insert(*new ui::TButtonGadget(118, 118, ui::TButtonGadget::NonExclusive));
    for (int command = 111; command <= 117; ++command)
        controlBar_->Insert(*new ui::TButtonGadget(command, command));

    scale_ = new TScaleGadget(1001);
    for (int i = 0; i < 4; ++i)
        coords_[i] = new TCoordGadget(1002 + i, i % 2, i / 2);
    const int kinds[4] = {kInfoGps, kInfoElapsed, kInfoTrip, kInfoTrack};
    for (int i = 0; i < 4; ++i)
        infos_[i] = new TInfoGadget(1006 + i, kinds[i]);
    unplaced_[0].reset(coords_[2]);
    unplaced_[1].reset(coords_[3]);

    statusBar_ = new ui::TStatusBar(this, ui::TGadget::Recessed, 0, nullptr, module);
    ui::TGadget* const order[] = {nullptr, infos_[3],  infos_[2],  infos_[1], nullptr, infos_[0],
                                  nullptr, coords_[0], coords_[1], nullptr,   scale_};
    for (ui::TGadget* g : order)
        statusBar_->Insert(g ? *g : *new ui::TSeparatorGadget());

    Insert(*controlBar_, Top);
    Insert(*statusBar_, Bottom);
}

TMyFrame::~TMyFrame() = default;

ui::TGadget* TMyFrame::StatusGadget(int id) const {
    if (id == 1001) return scale_;
    if (TCoordGadget* c = CoordGadget(id)) return c;
    return InfoGadget(id);
}

TCoordGadget* TMyFrame::CoordGadget(int id) const {
    return id >= 1002 && id <= 1005 ? coords_[id - 1002] : nullptr;
}

TInfoGadget* TMyFrame::InfoGadget(int id) const {
    return id >= 1006 && id <= 1009 ? infos_[id - 1006] : nullptr;
}

void TMyFrame::SetupWindow() {
    TDecoratedMDIFrame::SetupWindow();
    handle_ = GetHandle();
}

TMyFrame* FrameOfWindow(const ui::TWindow* window) {
    for (const ui::TWindow* w = window; w; w = w->GetParentO())
        if (auto* frame = dynamic_cast<const TMyFrame*>(w)) return const_cast<TMyFrame*>(frame);
    return nullptr;
}
