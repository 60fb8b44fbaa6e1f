// Dialogs built from templates by id.
//
// A template is a C++ table: the dialog's caption and style and its items, each
// with its kind, id, text and grid cell. The templates give no geometry; Qt's
// layouts size the dialog. A program registers its templates with its module
// (TModule::AddDialogs) and checks each at compile time:
//
//   constexpr ui::TDlgItem kPositionItems[] = {
//       {.Kind = ui::TDlgItemKind::Static, .Text = u8"Bredde", .Row = 0, .Column = 0},
//       {.Kind = ui::TDlgItemKind::Edit, .Id = 1001, .Row = 0, .Column = 1, .Limit = 2},
//       {.Kind = ui::TDlgItemKind::Button, .Id = ui::IDOK, .Text = u8"OK", .Row = 1},
//   };
//   constexpr ui::TDlgTemplate kPosition{10, u8"Oppgi ønsket posisjon",
//                                        ui::WS_POPUP | ui::WS_CAPTION, kPositionItems};
//   static_assert(ui::ValidDialogTemplate(kPosition));
//
// Item kinds: static text; push button (IDOK is the default button); edit
// (limit, ES_MULTILINE, ES_READONLY); up-down (range, buddy edit: it writes its
// position into the buddy); combo box (a drop-down list); tree view; read-only
// rich text (limit); custom (a class registered with RegisterClass, or with no
// class a cell that a control object of the program claims by id).
//
// Control notices go to the dialog as WM_COMMAND (BN_CLICKED, EN_CHANGE,
// CBN_SELCHANGE) or WM_NOTIFY (TVN_SELCHANGED), and commands from a dialog stop
// at the dialog. Escape and the title bar's close give IDCANCEL; Return presses
// the default button.
#pragma once

#include "ui/Window.h"

#include <span>

namespace ui {

enum class TDlgItemKind { Static, Button, Edit, UpDown, ComboBox, TreeView, RichText, Custom };

struct TDlgItem {
    TDlgItemKind Kind = TDlgItemKind::Static;
    int Id = -1; // -1: an item nobody asks for by id (several may share it)
    const char8_t* Text = u8"";
    int Row = 0, Column = 0, RowSpan = 1, ColumnSpan = 1;
    std::uint32_t Style = 0;         // ES_MULTILINE, ES_READONLY, WS_DISABLED
    int Limit = 0;                   // edits and rich text: characters (0: none)
    int Lo = 0, Hi = 0;              // up-down range
    int Buddy = 0;                   // up-down: the id of its edit
    const char* ClassName = nullptr; // custom items
    int Width = 0, Height = 0;       // smallest size in pixels (0: the layout's choice)
};

struct TDlgTemplate {
    int Id = 0;
    const char8_t* Caption = u8"";
    std::uint32_t Style = WS_POPUP | WS_CAPTION | WS_SYSMENU; // WS_CHILD makes a child dialog
    std::span<const TDlgItem> Items;
};

// Ids unique (apart from -1), every up-down's buddy an edit of the template, and
// every range with Lo <= Hi.
consteval bool ValidDialogTemplate(const TDlgTemplate& t) {
    for (std::size_t i = 0; i < t.Items.size(); ++i) {
        const TDlgItem& a = t.Items[i];
        for (std::size_t j = i + 1; j < t.Items.size(); ++j)
            if (a.Id != -1 && a.Id == t.Items[j].Id) return false;
        if (a.Kind == TDlgItemKind::UpDown) {
            if (a.Lo > a.Hi) return false;
            bool buddyIsEdit = false;
            for (const TDlgItem& b : t.Items)
                buddyIsEdit = buddyIsEdit || (b.Id == a.Buddy && b.Kind == TDlgItemKind::Edit);
            if (!buddyIsEdit) return false;
        }
    }
    return true;
}

class TDialog : public TWindow {
  public:
    // The dialog of template resId from the module (the parent's when null).
    TDialog(TWindow* parent, TResId resId, TModule* module = nullptr);
    ~TDialog() override;

    // Runs the dialog modally through the modal runner; returns the id that
    // closed it (-1 when it could not be made).
    virtual int Execute();
    // A modeless dialog: under WS_CHILD a child window of the parent, otherwise
    // a tool window owned by the parent's window that is shown without taking
    // the activation. A modeless dialog that closes itself through IDOK or
    // IDCANCEL is deleted after the current message (its parent receives
    // WM_PARENTNOTIFY first).
    bool Create() override;

    // Ends the dialog with the id: a modal one returns it from Execute.
    void Destroy(int retVal = 0) override;
    void CloseWindow(int retVal = IDOK) override;

    bool IsModal() const { return modal_; }
    const TDlgTemplate* GetTemplate() const { return template_; }

    const char* GetClassName() override;

    DECLARE_RESPONSE_TABLE(TDialog);

  protected:
    // Creates the child windows; a child dialog (WS_CHILD) whose size was not
    // given then takes the size its items ask for, so that its set-up can
    // place it by its size.
    void SetupWindow() override;
    void CmOk();
    void CmCancel();

  public:
    // Layer internals.
    QWidget* MakeWidget(QWidget* parentWidget) override;
    QWidget* ChildContainer() const override;
    bool StopsCommands() const override { return true; }
    QWidget* FindItem(int id) const override;
    QWidget* CellFor(int id) const override;
    // Makes the window for a modal run (not shown); false when it cannot be made.
    bool CreateModal();
    // Whether the window can be made: the template exists and every custom
    // item's class is registered or claimed by a window of this dialog.
    bool CanBuild() const;
    // Whether a modal run has ended, and with what.
    bool ModalEnded() const { return ended_; }
    int ModalResult() const { return result_; }
    void SetModalLoop(void* loop) { loop_ = loop; }

  protected:
    void EvClose() override;

  private:
    friend class TDialogBuilder;
    bool Build();

    TResId resId_;
    const TDlgTemplate* template_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    int result_ = IDCANCEL;
    void* loop_ = nullptr;
    struct Items;
    std::unique_ptr<Items> items_;
};

} // namespace ui
