#include "dialogs/TObjectInfoDialog.h"

#include "chart/ChartPainting.h"
#include "chart/TMapWindow.h"
#include "chart/pass/ChartDrawingPass.h"
#include "context/TMapContext.h"
#include "dialogs/InfoDialogPlacement.h"
#include "gdb/GdbObject.h"
#include "gdi/RasterDc.h"
#include "ui/Controls.h"
#include "ui/Cursor.h"

namespace {

constexpr int kLightCode = 86;
// The light is drawn over the view grown by this many pixels on each side,
// as the drawing pass draws.
constexpr int kViewMargin = 10;
constexpr std::int32_t kHighlightDetails = 2;

void insertChildren(ui::TTreeWindow& tree, const TObjView& node, ui::HTREEITEM parent) {
    for (const auto& child : node.Children()) {
        const ui::HTREEITEM item = tree.InsertItem(
            child->ItemText().c_str(), reinterpret_cast<ui::LPARAM>(child.get()), parent);
        insertChildren(tree, *child, item);
    }
}

// The chart mapping of a picture for a scope: chart units, y up, the origin
// at the client centre.
class ChartMappingScope {
  public:
    ChartMappingScope(gdi::Dc& dc, const ui::TRect& client)
        : dc_(dc), before_(dc.setMapping(
                       gdi::Mapping::yUp(ClientCentre(client).x, ClientCentre(client).y))) {}
    ~ChartMappingScope() { dc_.setMapping(before_); }
    ChartMappingScope(const ChartMappingScope&) = delete;
    ChartMappingScope& operator=(const ChartMappingScope&) = delete;

  private:
    gdi::Dc& dc_;
    gdi::Mapping before_;
};

} // namespace

DEFINE_RESPONSE_TABLE1(TObjectInfoDialog, TMapDialog)
EV_TVN_SELCHANGED(kObjectTree, EvSelChanged), END_RESPONSE_TABLE;

TObjectInfoDialog::TObjectInfoDialog(TMapWindow* owner, const ui::TPoint& click,
                                     std::unique_ptr<TObjView> root, int resId)
    : TMapDialog(owner, resId), click_(click),
      root_(root ? std::move(root) : std::make_unique<TObjView>()),
      tree_(new ui::TTreeWindow(this, kObjectTree)),
      text_(new ui::TRichEdit(this, kObjectAttributes)) {
    text_->LimitText(static_cast<int>(kAttributeTextLimit));
}

TObjectInfoDialog::~TObjectInfoDialog() {
    Destroy();
}

void TObjectInfoDialog::SetupWindow() {
    TMapDialog::SetupWindow();
    insertChildren(*tree_, *root_, ui::TVI_ROOT);
    PlaceInfoDialog(*this, click_);
}

void TObjectInfoDialog::CleanupWindow() {
    ReleaseInfoDialog();
    TMapDialog::CleanupWindow();
}

void TObjectInfoDialog::EvSelChanged(ui::TTwNotify& notice) {
    const auto* node = reinterpret_cast<const TObjView*>(notice.itemNew.lParam);
    if (!node) return;
    const TObjInfo info = node->Info();
    text_->SetText(info.attributes ? info.attributes->c_str() : kNoAttributes);
    if (info.object && info.object->GetLabel() == kLightCode) ShowOnChart(*info.object);
}

void TObjectInfoDialog::ShowOnChart(GdbObject& light) {
    TMapWindow* w = GetOwner();
    if (!w || !w->IsWindow() || !w->memPicture1 || !w->map || w->levelScale <= 0 ||
        w->displayScale <= 0)
        return;
    gdi::RasterDc& picture = *w->memPicture1;
    const ui::TRect client = w->GetClientRect();
    const ui::TRect view = ChartViewRect(client);
    try {
        const ChartMappingScope chartUnits(picture, client);
        PaintOverlays(*w, picture, true, view);
        GeoRect rect =
            ChartPassGeoRect(*w->map, Rect{view.left - kViewMargin, view.top - kViewMargin,
                                           view.right + kViewMargin, view.bottom + kViewMargin});
        const TChartPassScales scales = ChartPassScales(w->levelScale, w->displayScale);
        TMapContext context(&picture, w->map.get(), rect, scales.scaleExponent,
                            EDetails(kHighlightDetails), EPresMode(0));
        context.Draw(&light);
    } catch (...) {
        // A chart that cannot be drawn shows no light; the dialog goes on.
    }
    CopyToWindow(w->GetDC(), picture, client);
    // The chart's drawing frees the cursor and takes the focus; the dialog
    // holds both again.
    const ui::TRect self = GetWindowRect();
    ui::ClipCursor(&self);
    tree_->SetFocus();
}
