// Control objects. Made in a dialog's constructor with a template item's id,
// a control takes over that item when the dialog's window is made; settings
// given before (limits, ranges) are applied then. A painting control (TGauge,
// or any window of the program) made with the id of a custom item fills that
// item's cell.
#pragma once

#include "ui/Window.h"

#include <string>

namespace ui {

class TControl : public TWindow {
  public:
    // The control of template item resourceId of the parent dialog.
    TControl(TWindow* parent, int resourceId, TModule* module = nullptr);
    // A control window of its own, at x, y in the parent's client area.
    TControl(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
             TModule* module = nullptr);

    bool Create() override;

  protected:
    // Applies what was set before the item existed.
    virtual void ItemAttached() {}
    // The item's widget, when there is one.
    QWidget* Item() const { return GetHandle(); }
};

class TStatic : public TControl {
  public:
    // textLimit counts the terminating NUL, as a buffer size would (0: none).
    TStatic(TWindow* parent, int resourceId, UINT textLimit = 0, TModule* module = nullptr);
    void SetText(const char* text);
    // At most size - 1 bytes and a NUL; returns the bytes copied.
    int GetText(char* buf, int size) const;
    int GetTextLen() const;

  protected:
    UINT TextLimit;
};

class TButton : public TControl {
  public:
    TButton(TWindow* parent, int resourceId, TModule* module = nullptr);
};

class TEdit : public TStatic {
  public:
    // textLimit counts the terminating NUL: an edit of textLimit 3 takes 2
    // characters (0: no limit).
    TEdit(TWindow* parent, int resourceId, UINT textLimit = 0, TModule* module = nullptr);
    // At most n characters (the program's own texts are cut as well).
    void LimitText(int n);
    // Whether the user changed the text since it was last set or cleared.
    bool IsModified() const;
    void ClearModify();

  protected:
    void ItemAttached() override;

  private:
    int limit_ = 0;
};

class TUpDown : public TControl {
  public:
    TUpDown(TWindow* parent, int resourceId, TModule* module = nullptr);
    void SetRange(int lo, int hi);
    void GetRange(int& lo, int& hi) const;
    // The edit that shows the position; the up-down writes its position there
    // as a decimal number.
    void SetBuddy(HWND buddy);
    HWND GetBuddy() const;
    // The position: the buddy's number when it holds one within the range,
    // otherwise the last position set.
    int GetPos() const;
    // Returns the position before; the new one is held within the range.
    int SetPos(int pos);

  protected:
    void ItemAttached() override;

  private:
    int lo_ = 0, hi_ = 100, pos_ = 0;
    bool rangeSet_ = false;
    HWND buddy_ = nullptr;
};

class TComboBox : public TControl {
  public:
    TComboBox(TWindow* parent, int resourceId, UINT textLimit = 0, TModule* module = nullptr);
    // Appends; returns the item's index, or -1 without an item window.
    int AddString(const char* text);
    int GetCount() const;
    void ClearList();
    // Each item keeps a value of the program's (0 until set). Return -1 for a
    // bad index.
    int SetItemData(int index, LPARAM data);
    LPARAM GetItemData(int index) const;
    // -1 when nothing is chosen.
    int GetSelIndex() const;
    int SetSelIndex(int index);
    // The item's text: at most size - 1 bytes and a NUL; returns its length, or
    // -1 for a bad index.
    int GetString(char* buf, int size, int index) const;
    int GetStringLen(int index) const;
};

inline const HTREEITEM TVI_ROOT = nullptr;

class TTreeWindow : public TControl {
  public:
    TTreeWindow(TWindow* parent, int resourceId, TModule* module = nullptr);
    // Appends an item with its data under parent (TVI_ROOT: at the top level)
    // after the items already there; null without an item window.
    HTREEITEM InsertItem(const char* text, LPARAM data, HTREEITEM parent = TVI_ROOT);
    // Selects the item, as a click would (the dialog gets TVN_SELCHANGED).
    bool SelectItem(HTREEITEM item);
    HTREEITEM GetSelection() const;
    LPARAM GetItemData(HTREEITEM item) const;
    // Items in display order below parent.
    int GetChildCount(HTREEITEM parent = TVI_ROOT) const;
    HTREEITEM GetChild(HTREEITEM parent, int index) const;
    std::string GetItemText(HTREEITEM item) const;
};

class TRichEdit : public TControl {
  public:
    TRichEdit(TWindow* parent, int resourceId, TModule* module = nullptr);
    // At most n characters.
    void LimitText(int n);
    void SetText(const char* text);
    int GetText(char* buf, int size) const;

  protected:
    void ItemAttached() override;

  private:
    int limit_ = 0;
};

// A bar showing a value within a range; Paint may be overridden.
class TGauge : public TControl {
  public:
    // The gauge in the custom item resourceId of a dialog.
    TGauge(TWindow* parent, int resourceId, TModule* module = nullptr);
    TGauge(TWindow* parent, const char* title, int id, int x, int y, int w, int h,
           TModule* module = nullptr);
    void SetRange(int min, int max);
    void GetRange(int& min, int& max) const {
        min = min_;
        max = max_;
    }
    // Held within the range; repaints when it changes.
    void SetValue(int value);
    int GetValue() const { return value_; }

    // A frame and a bar from the left, in the system's highlight blue.
    void Paint(TDC& dc, bool erase, TRect& rect) override;

  private:
    int min_ = 0, max_ = 100, value_ = 0;
};

} // namespace ui
