#include "ui/forms/Image.h"

#include "ui/forms/Description.h"

#include <QLabel>
#include <QMouseEvent>

#include <cmath>

namespace ui::forms {

namespace {

QLabel* newImage() {
    QLabel* label = detail::NewWidget<QLabel>();
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMouseTracking(true);
    return label;
}

TShiftState shiftOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys) {
    TShiftState shift;
    if (buttons & Qt::LeftButton) shift << ssLeft;
    if (buttons & Qt::RightButton) shift << ssRight;
    if (buttons & Qt::MiddleButton) shift << ssMiddle;
    if (keys & Qt::ShiftModifier) shift << ssShift;
    if (keys & Qt::ControlModifier) shift << ssCtrl;
    if (keys & Qt::AltModifier) shift << ssAlt;
    return shift;
}

TMouseButton buttonOf(Qt::MouseButton button) {
    return button == Qt::RightButton ? mbRight : button == Qt::MiddleButton ? mbMiddle : mbLeft;
}

} // namespace

TImage::TImage(TComponent* owner) : TControl(owner, newImage()) {
    WatchEvents(GetHandle());
}

void TImage::SetPicture(const TBitmap& picture) {
    picture_ = picture;
    static_cast<QLabel*>(GetHandle())->setPixmap(picture.Pixmap());
}

bool TImage::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched != GetHandle()) return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF at = mouse->position();
    const int x = int(std::floor(at.x())), y = int(std::floor(at.y()));
    const TShiftState shift = shiftOf(mouse->buttons(), mouse->modifiers());
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // a second press
        Fire(OnMouseDown, this, buttonOf(mouse->button()), shift, x, y);
        break;
    case QEvent::MouseButtonRelease:
        Fire(OnMouseUp, this, buttonOf(mouse->button()), shift, x, y);
        break;
    default:
        Fire(OnMouseMove, this, shift, x, y);
        break;
    }
    event->accept();
    return true;
}

void TImage::Describe(const TComponentDesc& desc, std::vector<std::string>& problems) {
    if (desc.Picture) {
        const TBitmap picture(desc.Picture);
        if (picture.Empty())
            problems.push_back(GetName() + ": the picture " + desc.Picture + " cannot be loaded");
        SetPicture(picture);
    }
    TControl::Describe(desc, problems);
    if (!picture_.Empty()) {
        // Without a size the image takes its picture's.
        const int width = desc.Bounds.Width > 0 ? desc.Bounds.Width : picture_.GetWidth();
        const int height = desc.Bounds.Height > 0 ? desc.Bounds.Height : picture_.GetHeight();
        GetHandle()->resize(width, height);
    }
}

TEventSlot TImage::FindEvent(std::string_view name) {
    if (name == "OnMouseDown") return TEventSlot::Of(OnMouseDown);
    if (name == "OnMouseUp") return TEventSlot::Of(OnMouseUp);
    if (name == "OnMouseMove") return TEventSlot::Of(OnMouseMove);
    return TControl::FindEvent(name);
}

} // namespace ui::forms
