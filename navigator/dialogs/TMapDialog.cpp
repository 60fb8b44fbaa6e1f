#include "dialogs/TMapDialog.h"

#include "app/ViewerModule.h"
#include "chart/TMapWindow.h"
#include "resources/DialogTemplates.h"

#include <algorithm>
#include <iterator>

namespace {

// The style bit the panels add; the window layer keeps it and acts on nothing.
constexpr std::uint32_t kPanelStyleBit = 0x800;

// Left column from the top, right column from the bottom.
constexpr int kLeftColumn[] = {kGpsPosTemplate, kDateTemplate, kWindTemplate};
constexpr int kRightColumn[] = {kRouteInfo1Template, kRouteInfo2Template, kBearingTemplate,
                                kSogCogTemplate, kDepthTemplate};

template <std::size_t N> int rankIn(const int (&column)[N], int resId) {
    const auto it = std::find(std::begin(column), std::end(column), resId);
    return it == std::end(column) ? -1 : int(it - std::begin(column));
}

} // namespace

TMapDialog::TMapDialog(TMapWindow* owner, int resId)
    : ui::TDialog(owner, resId, &ViewerModule()), owner_(owner), resId_(resId) {}

TReadoutPanel::TReadoutPanel(TMapWindow* owner, int resId) : TMapDialog(owner, resId) {
    Attr.Style |= kPanelStyleBit;
}

TReadoutPanel::~TReadoutPanel() {
    Destroy();
}

void TReadoutPanel::SetupWindow() {
    TMapDialog::SetupWindow();
    if (owner_) PlaceReadoutPanels(*owner_);
}

void TReadoutPanel::CleanupWindow() {
    if (owner_ && owner_->IsWindow()) PlaceReadoutPanels(*owner_, this);
    TMapDialog::CleanupWindow();
}

std::vector<ui::TPoint> ReadoutPanelPlaces(const ui::TSize& client,
                                           std::span<const TPanelExtent> panels) {
    std::vector<ui::TPoint> places(panels.size());
    // Each column in its order; a panel's place follows from the ones before it.
    std::vector<std::size_t> order(panels.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto rank = [&](std::size_t i) {
        const int left = rankIn(kLeftColumn, panels[i].resId);
        return left >= 0 ? left : rankIn(kRightColumn, panels[i].resId);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); });
    int leftHeight = 0, rightHeight = 0; // stacked so far in each column
    for (std::size_t i : order) {
        const TPanelExtent& p = panels[i];
        if (rankIn(kLeftColumn, p.resId) >= 0) {
            places[i] = ui::TPoint(0, leftHeight);
            leftHeight += p.size.cy;
        } else if (rankIn(kRightColumn, p.resId) >= 0) {
            rightHeight += p.size.cy;
            places[i] = ui::TPoint(client.cx - p.size.cx, client.cy - rightHeight);
        }
    }
    return places;
}

void PlaceReadoutPanels(TMapWindow& chart, const ui::TWindow* leaving) {
    std::vector<TReadoutPanel*> open;
    std::vector<TPanelExtent> extents;
    for (ui::TWindow* child : chart.GetChildren()) {
        auto* panel = dynamic_cast<TReadoutPanel*>(child);
        if (!panel || panel == leaving || !panel->IsWindow()) continue;
        open.push_back(panel);
        extents.push_back({panel->GetResId(), panel->GetWindowRect().Size()});
    }
    const std::vector<ui::TPoint> places =
        ReadoutPanelPlaces(chart.GetClientRect().Size(), extents);
    for (std::size_t i = 0; i < open.size(); ++i)
        open[i]->SetWindowPos(nullptr, places[i].x, places[i].y, 0, 0,
                              ui::SWP_NOSIZE | ui::SWP_NOZORDER | ui::SWP_NOACTIVATE |
                                  ui::SWP_NOREDRAW);
}
