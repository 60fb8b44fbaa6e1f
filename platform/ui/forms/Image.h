// A picture on a form, at its bounds (its picture's size when described
// without a size), drawn at its top left without scaling; transparent parts
// show what lies below.
//
// Mouse events give X and Y in the image's own pixels. While a button is held
// the image keeps the mouse: moves and the release come to it, also outside
// its bounds. OnMouseMove fires with and without a button held; Shift tells
// which buttons are held (ssLeft, ...) and which of Shift, Ctrl and Alt.
#pragma once

#include "ui/forms/Bitmap.h"
#include "ui/forms/Control.h"

namespace ui::forms {

class TImage : public TControl {
  public:
    explicit TImage(TComponent* owner);
    const char* ClassName() const override { return "TImage"; }

    const TBitmap& GetPicture() const { return picture_; }
    void SetPicture(const TBitmap& picture);

    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    TEventSlot FindEvent(std::string_view name) override;

  protected:
    bool WidgetEvent(QObject* watched, QEvent* event) override;
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    TBitmap picture_;
};

} // namespace ui::forms
