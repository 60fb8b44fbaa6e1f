// Combo boxes and the drive combo box.
//
// - A drop-down box (csDropDown) takes typed text, which is kept as typed
//   (no completion, nothing added to the items); a drop-down list
//   (csDropDownList) shows only its items.
// - OnChange fires when the user chooses an item or types, and when the
//   program sets Text and the text changes. Setting ItemIndex or Items fires
//   nothing.
// - ItemIndex is the chosen item, or -1 when none is chosen or the typed text
//   is not the chosen item's.
// - The drive combo box lists the letters of the os drive table in A-Z order,
//   each shown as "d: [root]" (the letter in lower case, its root folder).
//   Drive is the chosen letter in upper case; setting it fires nothing.
#pragma once

#include "ui/forms/Control.h"
#include "ui/forms/Strings.h"

#include <memory>

class QComboBox;

namespace ui::forms {

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TControl {
  public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;
    const char* ClassName() const override { return "TComboBox"; }

    std::string GetText() const { return GetTextValue(); }
    void SetText(const std::string& text) { SetTextValue(text); }
    TStrings& GetItems();
    int GetItemIndex() const;
    void SetItemIndex(int index);
    TComboBoxStyle GetStyle() const { return style_; }
    void SetStyle(TComboBoxStyle style);

    TNotifyEvent OnChange;

    TEventSlot FindEvent(std::string_view name) override;

  protected:
    std::string GetTextValue() const override;
    void SetTextValue(const std::string& text) override;
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    class TItems;
    QComboBox* Box() const;
    std::unique_ptr<TItems> items_;
    TComboBoxStyle style_ = csDropDown;
};

class TDriveComboBox : public TControl {
  public:
    explicit TDriveComboBox(TComponent* owner);
    const char* ClassName() const override { return "TDriveComboBox"; }

    // The chosen drive letter (upper case); '\0' when the table has none.
    char GetDrive() const;
    // Chooses the drive (either case); a letter the list lacks changes nothing.
    void SetDrive(char letter);

    TNotifyEvent OnChange;

    TEventSlot FindEvent(std::string_view name) override;

  private:
    QComboBox* Box() const;
    std::string letters_;
};

} // namespace ui::forms
