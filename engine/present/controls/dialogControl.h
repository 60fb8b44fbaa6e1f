// What the library's two dialog controls share: a composite Qt widget made
// of numbered children (edits for the fields, static texts between them, a
// one-line list, an up-down), answering three private messages through one
// message entry, and passing the keyboard between its fields and its
// parent's other controls as a dialog's controls do.
//
// A dialog that names the control by class talks to it with Message(number,
// wParam, lParam), where lParam carries a value or a pointer cast to an
// integer (a null pointer where none is given). The control reports changes
// the user makes to its fields through its notification handler.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;

// The private messages of both controls.
enum : unsigned {
    CTLM_GETVALUE = 2048, // read the fields into *lParam; 1, or 0 on an invalid field
    CTLM_SETVALUE = 2049, // write a value into the fields and keep it; 1, or 0 if refused
    CTLM_MODIFIED = 2050, // 1 when the fields differ from the kept value
};

// a * b / c with a 64-bit product, rounded to nearest with halves away from
// zero, as the platform's multiply-divide does; 0 when c is 0.
std::int64_t roundedMulDiv(std::int64_t a, std::int64_t b, std::int64_t c);

class TDialogControl : public QWidget {
  public:
    // The command message and the change notification a control forwards
    // (the window system's numbers).
    static constexpr unsigned WM_COMMAND = 0x0111, EN_CHANGE = 0x0300;

    // parent owns the control (null makes a top-level widget). Only the low
    // 16 bits of style are the control's own; the high half holds general
    // window bits, which the control leaves alone.
    TDialogControl(QWidget* parent, std::uint32_t style, int id);

    int GetId() const { return id_; }
    // The control's own style bits (the low 16 bits as given).
    std::uint32_t GetStyle() const { return style_; }

    // The child with identifier id (100 and up), or null when the control's
    // style leaves it out.
    QWidget* ChildWithId(int id) const;

    // The control's messages: CTLM_GETVALUE, CTLM_SETVALUE, CTLM_MODIFIED,
    // and WM_COMMAND, which a child sends (the field's id in the low word of
    // wParam, the code in the high word) and the control passes on to its
    // notification handler under its own id. Any other message answers 0.
    std::intptr_t Message(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Called with (the control's id, EN_CHANGE) whenever the user changes a
    // field: typing in an edit, stepping with the up-down, choosing the other
    // hemisphere. Values written by CTLM_SETVALUE are not reported.
    using Notify = std::function<void(int id, unsigned code)>;
    void SetNotify(Notify notify) { notify_ = std::move(notify); }

  protected:
    virtual std::intptr_t getValue(std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual std::intptr_t setValue(std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual std::intptr_t isModified() = 0;
    // Places the children for the control's current width and font.
    virtual void layoutChildren() = 0;

    // Children. Edits and the list are the fields, in the order they are
    // added; the first one takes the control's focus.
    QLineEdit* addEdit(int id, int maxLength);
    QLabel* addStatic(int id, const QString& text);
    QListWidget* addList(int id, const QString& first, const QString& second);
    // The up-down: steps its buddy field with stepField.
    QWidget* addUpDown(int id);

    // The unsigned decimal number in edit id (blanks around it allowed), or
    // -1 when the edit is absent, empty or holds anything else.
    long long fieldNumber(int id) const;
    // Writes value into edit id with a printf format of one int conversion.
    void writeField(int id, const char* format, long long value);

    // The edit height: 10 dialog units of the control's font.
    int fieldHeight() const;
    // Places child id at x with width w (in pixels) and the field height.
    void place(int id, int x, int w);

    // The range an up-down may step a field through, and its text format;
    // false for a field the up-down cannot step.
    virtual bool fieldRange(int id, int& max, const char*& format) const = 0;

    // True while the control writes its own fields, so their changes are not
    // reported as the user's.
    bool writingFields_ = false;

    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The children's own classes (defined with the control).
    class FieldEdit;
    class FieldList;
    class UpDown;

    int idOf(const QWidget* child) const;
    // Keyboard and up-down handling of the children.
    void passTab(bool forward);
    void moveToField(QWidget* from, bool forward);
    void fieldFocused(QWidget* field);
    void stepBuddy(int delta);
    void reportChange();

    std::uint32_t style_;
    int id_;
    QWidget* children_[11] = {};
    QWidget* fields_[11] = {};
    int fieldCount_ = 0;
    QWidget* buddy_ = nullptr;
    Notify notify_;
};

// The control behind a widget a factory made, or null.
TDialogControl* dialogControl(QWidget* widget);
