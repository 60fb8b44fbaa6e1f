// Layer internals: widgets of dialog items that Qt has no match for. Not for
// the programs.
#pragma once

#include <QPointer>
#include <QWidget>

namespace ui {

// An up-down control: two arrows that step a position within a range and write
// it into the buddy edit.
class UpDownWidget : public QWidget {
  public:
    explicit UpDownWidget(QWidget* parent);
    void SetRange(int lo, int hi);
    int Lo() const { return lo_; }
    int Hi() const { return hi_; }
    void SetBuddy(QWidget* buddy) { buddy_ = buddy; }
    QWidget* Buddy() const { return buddy_; }
    // The buddy's number when it holds one within the range, else the last set.
    int Pos() const;
    void SetPos(int pos);
    void Step(int delta);

  private:
    int lo_ = 0, hi_ = 100, pos_ = 0;
    QPointer<QWidget> buddy_;
};

// Marks the widget of a custom item's cell, which a window of the program fills.
inline const char* const kCellProperty = "uiCell";

} // namespace ui
