#include "ui/Controls.h"

#include "ui/DialogItems.h"
#include "ui/Items.h"
#include "ui/Screen.h"
#include "ui/Text.h"

#include <QComboBox>
#include <QTreeWidget>

namespace ui {

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TWindow* parent, int resourceId, TModule* module)
    : TWindow(parent, nullptr, module) {
    Attr.Id = resourceId;
}

TControl::TControl(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
                   TModule* module)
    : TWindow(parent, title, module) {
    Attr.Id = id;
    Attr.X = x;
    Attr.Y = y;
    Attr.W = w;
    Attr.H = h;
}

bool TControl::Create() {
    if (IsWindow()) return true;
    TWindow* parent = GetParentO();
    if (parent && parent->IsWindow()) {
        QWidget* item = parent->FindItem(Attr.Id);
        if (item && !item->property(kCellProperty).toBool() && !GetWindowPtr(item)) {
            AttachHandle(item);
            ItemAttached();
            return true;
        }
    }
    return TWindow::Create();
}

// ---------------------------------------------------------------------------
// TStatic, TButton, TEdit

TStatic::TStatic(TWindow* parent, int resourceId, UINT textLimit, TModule* module)
    : TControl(parent, resourceId, module), TextLimit(textLimit) {}

void TStatic::SetText(const char* text) {
    SetItemText(Item(), text ? text : "");
}

int TStatic::GetText(char* buf, int size) const {
    return CopyOut(ItemText(Item()), buf, size);
}

int TStatic::GetTextLen() const {
    return int(ItemText(Item()).size());
}

TButton::TButton(TWindow* parent, int resourceId, TModule* module)
    : TControl(parent, resourceId, module) {}

TEdit::TEdit(TWindow* parent, int resourceId, UINT textLimit, TModule* module)
    : TStatic(parent, resourceId, textLimit, module),
      limit_(textLimit > 0 ? int(textLimit) - 1 : 0) {}

void TEdit::ItemAttached() {
    if (limit_ > 0) SetItemLimit(Item(), limit_);
}

void TEdit::LimitText(int n) {
    limit_ = std::max(n, 0);
    if (Item()) SetItemLimit(Item(), limit_);
}

bool TEdit::IsModified() const {
    return ItemModified(Item());
}

void TEdit::ClearModify() {
    ClearItemModified(Item());
}

// ---------------------------------------------------------------------------
// TUpDown

namespace {
UpDownWidget* upDownOf(QWidget* w) {
    return dynamic_cast<UpDownWidget*>(w);
}
} // namespace

TUpDown::TUpDown(TWindow* parent, int resourceId, TModule* module)
    : TControl(parent, resourceId, module) {}

void TUpDown::ItemAttached() {
    UpDownWidget* u = upDownOf(Item());
    if (!u) return;
    if (rangeSet_)
        u->SetRange(lo_, hi_);
    else {
        lo_ = u->Lo();
        hi_ = u->Hi();
    }
    if (buddy_) u->SetBuddy(buddy_);
}

void TUpDown::SetRange(int lo, int hi) {
    lo_ = lo;
    hi_ = hi;
    rangeSet_ = true;
    if (UpDownWidget* u = upDownOf(Item())) u->SetRange(lo, hi);
}

void TUpDown::GetRange(int& lo, int& hi) const {
    lo = lo_;
    hi = hi_;
}

void TUpDown::SetBuddy(HWND buddy) {
    buddy_ = buddy;
    if (UpDownWidget* u = upDownOf(Item())) u->SetBuddy(buddy);
}

HWND TUpDown::GetBuddy() const {
    if (UpDownWidget* u = upDownOf(Item())) return u->Buddy();
    return buddy_;
}

int TUpDown::GetPos() const {
    if (UpDownWidget* u = upDownOf(Item())) return u->Pos();
    return pos_;
}

int TUpDown::SetPos(int pos) {
    const int before = GetPos();
    pos_ = std::clamp(pos, std::min(lo_, hi_), std::max(lo_, hi_));
    if (UpDownWidget* u = upDownOf(Item())) u->SetPos(pos);
    return before;
}

// ---------------------------------------------------------------------------
// TComboBox

namespace {
QComboBox* comboOf(QWidget* w) {
    return qobject_cast<QComboBox*>(w);
}
} // namespace

TComboBox::TComboBox(TWindow* parent, int resourceId, UINT, TModule* module)
    : TControl(parent, resourceId, module) {}

int TComboBox::AddString(const char* text) {
    QComboBox* c = comboOf(Item());
    if (!c) return -1;
    c->addItem(ToQt(text ? text : ""), QVariant::fromValue(qlonglong(0)));
    return c->count() - 1;
}

int TComboBox::GetCount() const {
    QComboBox* c = comboOf(Item());
    return c ? c->count() : 0;
}

void TComboBox::ClearList() {
    if (QComboBox* c = comboOf(Item())) c->clear();
}

int TComboBox::SetItemData(int index, LPARAM data) {
    QComboBox* c = comboOf(Item());
    if (!c || index < 0 || index >= c->count()) return -1;
    c->setItemData(index, QVariant::fromValue(qlonglong(data)));
    return 0;
}

LPARAM TComboBox::GetItemData(int index) const {
    QComboBox* c = comboOf(Item());
    if (!c || index < 0 || index >= c->count()) return -1;
    return LPARAM(c->itemData(index).toLongLong());
}

int TComboBox::GetSelIndex() const {
    QComboBox* c = comboOf(Item());
    return c ? c->currentIndex() : -1;
}

int TComboBox::SetSelIndex(int index) {
    QComboBox* c = comboOf(Item());
    if (!c || index < -1 || index >= c->count()) return -1;
    c->setCurrentIndex(index);
    return index;
}

int TComboBox::GetString(char* buf, int size, int index) const {
    QComboBox* c = comboOf(Item());
    if (!c || index < 0 || index >= c->count()) return -1;
    const std::string text = FromQt(c->itemText(index));
    CopyOut(text, buf, size);
    return int(text.size());
}

int TComboBox::GetStringLen(int index) const {
    QComboBox* c = comboOf(Item());
    if (!c || index < 0 || index >= c->count()) return -1;
    return int(FromQt(c->itemText(index)).size());
}

// ---------------------------------------------------------------------------
// TTreeWindow

namespace {
QTreeWidget* treeOf(QWidget* w) {
    return qobject_cast<QTreeWidget*>(w);
}
QTreeWidgetItem* itemOf(HTREEITEM h) {
    return reinterpret_cast<QTreeWidgetItem*>(h);
}
HTREEITEM handleOf(QTreeWidgetItem* i) {
    return reinterpret_cast<HTREEITEM>(i);
}
} // namespace

TTreeWindow::TTreeWindow(TWindow* parent, int resourceId, TModule* module)
    : TControl(parent, resourceId, module) {}

HTREEITEM TTreeWindow::InsertItem(const char* text, LPARAM data, HTREEITEM parent) {
    QTreeWidget* t = treeOf(Item());
    if (!t) return nullptr;
    auto* item = new QTreeWidgetItem(QStringList(ToQt(text ? text : "")));
    item->setData(0, Qt::UserRole, QVariant::fromValue(qlonglong(data)));
    if (parent) {
        itemOf(parent)->addChild(item);
        itemOf(parent)->setExpanded(true);
    } else {
        t->addTopLevelItem(item);
    }
    return handleOf(item);
}

bool TTreeWindow::SelectItem(HTREEITEM item) {
    QTreeWidget* t = treeOf(Item());
    if (!t) return false;
    t->setCurrentItem(itemOf(item));
    return true;
}

HTREEITEM TTreeWindow::GetSelection() const {
    QTreeWidget* t = treeOf(Item());
    return t ? handleOf(t->currentItem()) : nullptr;
}

LPARAM TTreeWindow::GetItemData(HTREEITEM item) const {
    return item ? LPARAM(itemOf(item)->data(0, Qt::UserRole).toLongLong()) : 0;
}

int TTreeWindow::GetChildCount(HTREEITEM parent) const {
    QTreeWidget* t = treeOf(Item());
    if (!t) return 0;
    return parent ? itemOf(parent)->childCount() : t->topLevelItemCount();
}

HTREEITEM TTreeWindow::GetChild(HTREEITEM parent, int index) const {
    QTreeWidget* t = treeOf(Item());
    if (!t || index < 0 || index >= GetChildCount(parent)) return nullptr;
    return handleOf(parent ? itemOf(parent)->child(index) : t->topLevelItem(index));
}

std::string TTreeWindow::GetItemText(HTREEITEM item) const {
    return item ? FromQt(itemOf(item)->text(0)) : std::string();
}

// ---------------------------------------------------------------------------
// TRichEdit

TRichEdit::TRichEdit(TWindow* parent, int resourceId, TModule* module)
    : TControl(parent, resourceId, module) {}

void TRichEdit::ItemAttached() {
    if (limit_ > 0) SetItemLimit(Item(), limit_);
}

void TRichEdit::LimitText(int n) {
    limit_ = std::max(n, 0);
    if (Item()) SetItemLimit(Item(), limit_);
}

void TRichEdit::SetText(const char* text) {
    SetItemText(Item(), text ? text : "");
}

int TRichEdit::GetText(char* buf, int size) const {
    return CopyOut(ItemText(Item()), buf, size);
}

// ---------------------------------------------------------------------------
// TGauge

TGauge::TGauge(TWindow* parent, int resourceId, TModule* module)
    : TControl(parent, resourceId, module) {}

TGauge::TGauge(TWindow* parent, const char* title, int id, int x, int y, int w, int h,
               TModule* module)
    : TControl(parent, id, title, x, y, w, h, module) {}

void TGauge::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    SetValue(value_);
    Invalidate(true);
}

void TGauge::SetValue(int value) {
    const int v = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
    if (v == value_) return;
    value_ = v;
    Invalidate(true);
}

void TGauge::Paint(TDC& dc, bool, TRect&) {
    const TRect r = GetClientRect();
    dc.setPen(gdi::Pen{gdi::PenStyle::Solid, 1, GetSysColor(COLOR_BTNSHADOW)});
    dc.setBrush(gdi::Brush::solid(GetSysColor(COLOR_WINDOW)));
    dc.rectangle(r.left, r.top, r.right, r.bottom);
    const int range = max_ - min_;
    if (range == 0 || r.Width() <= 2) return;
    const int width = int((long long)(value_ - min_) * (r.Width() - 2) / range);
    if (width > 0)
        dc.fillRect(r.left + 1, r.top + 1, r.left + 1 + width, r.bottom - 1,
                    gdi::Brush::solid(RGB(0, 0, 128)));
}

} // namespace ui
