// The chart objects under an information click (template 3): a tree of the
// objects (301) and their attributes in a read-only rich text (302, at most
// 0x7FFF characters), run modally from the chart window.
//
// The tree lists the root's children depth first, each node as the last item
// under its parent's item, with the node as the item's data; an item reads
// as the class name, then " - " and the object name when there is one. The
// root stands for the chart's coverage object (code 217) under the click,
// which is why the dialog is shown at all; it is not an item itself.
//
// Choosing an item shows its attribute text, or "- NO ATTRIBUTES -". A light
// (code 86) is also shown on the chart: the chart window's picture 1 is drawn
// again as a paint draws it (chart mapping, PaintOverlays with erase), the
// light over it through a map context of detail level 2, and the picture
// goes onto the window; closing the dialog asks for the redraw that brings
// the overlays back.
//
// The dialog owns the tree and deletes it with itself. Placement and cursor:
// InfoDialogPlacement.h.
//
//   TObjectInfoDialog info(chart, screenClick, std::move(root));
//   info.Execute();
#pragma once

#include "dialogs/TMapDialog.h"
#include "dialogs/TObjView.h"
#include "resources/DialogTemplates.h"
#include "ui/EventHandler.h"

#include <memory>

namespace ui {
class TTreeWindow;
class TRichEdit;
} // namespace ui

inline constexpr int kObjectTree = 301, kObjectAttributes = 302;
// Shown for an object without attributes.
inline constexpr const char* kNoAttributes = "- NO ATTRIBUTES -";

class TObjectInfoDialog : public TMapDialog {
  public:
    // `click`: the screen point of the click (for the placement).
    TObjectInfoDialog(TMapWindow* owner, const ui::TPoint& click, std::unique_ptr<TObjView> root,
                      int resId = kObjectInfoTemplate);
    ~TObjectInfoDialog() override;

    TObjView& Root() const { return *root_; }
    ui::TTreeWindow& Tree() const { return *tree_; }

    void EvSelChanged(ui::TTwNotify& notice);

  protected:
    void SetupWindow() override;
    void CleanupWindow() override;

  private:
    // The light drawn over the chart picture, as above.
    void ShowOnChart(GdbObject& light);

    ui::TPoint click_;
    std::unique_ptr<TObjView> root_;
    ui::TTreeWindow* tree_;
    ui::TRichEdit* text_;

    DECLARE_RESPONSE_TABLE(TObjectInfoDialog);
};
