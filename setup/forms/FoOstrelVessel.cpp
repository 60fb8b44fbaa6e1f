// The main form's vessel fields and the picture of the boat: the change
// handlers of the five fields and the mouse on the boat, the cross and the
// sounder mark (the arithmetic is vessel/VesselGeometry.h).
#include "forms/FoOstrel.h"

#include "forms/OstrelPictures.h"

using namespace ui::forms;

namespace {

// The field's text is a number (not still being typed as "", "-" or "+").
bool HoldsNumber(const TSpinEdit* spin) {
    const std::string text = spin->GetText();
    return !text.empty() && text != "-" && text != "+";
}

} // namespace

TVesselFields TFoOstrel::VesselFromControls() const {
    return {SpinLength->GetValue(), SpinWidth->GetValue(), SpinX->GetValue(), SpinY->GetValue(),
            EchoY->GetValue()};
}

void TFoOstrel::SetVesselControls(const TVesselFields& f) {
    // In this order: the length and width first, so that the positions are
    // taken against them.
    SpinLength->SetValue(f.Length);
    SpinWidth->SetValue(f.Width);
    EchoY->SetValue(f.EchoY);
    SpinX->SetValue(f.X);
    SpinY->SetValue(f.Y);
    PlaceMarks();
}

void TFoOstrel::PlaceMarks() {
    const TVesselFields f = VesselFromControls();
    if (const auto x = CrossCentreX(f, kBoatWidth))
        ImgCross->SetLeft(ImgBoat->GetLeft() + *x - kCrossSize / 2);
    if (const auto y = CrossCentreY(f, kBoatHeight))
        ImgCross->SetTop(ImgBoat->GetTop() + *y - kCrossSize / 2);
    Echo->SetLeft(ImgBoat->GetLeft() + SounderCentreX(kBoatWidth) - kSounderMarkWidth / 2);
    if (const auto y = SounderCentreY(f, kBoatHeight))
        Echo->SetTop(ImgBoat->GetTop() + *y - kSounderMarkHeight / 2);
}

void TFoOstrel::VesselChanged(TSpinEdit* field, TVesselField which) {
    if (!HoldsNumber(field)) return;
    const TVesselFields before = VesselFromControls();
    const TVesselFields after = VesselFieldChanged(before, which, field->Focused());
    // Each field set here runs its own change in turn.
    if (after.Length != before.Length) SpinLength->SetValue(after.Length);
    if (after.Width != before.Width) SpinWidth->SetValue(after.Width);
    if (after.X != before.X) SpinX->SetValue(after.X);
    if (after.Y != before.Y) SpinY->SetValue(after.Y);
    PlaceMarks();
    ApplyOn(field);
}

void TFoOstrel::SpinLengthChange(TObject*) {
    VesselChanged(SpinLength, TVesselField::Length);
}

void TFoOstrel::SpinWidthChange(TObject*) {
    VesselChanged(SpinWidth, TVesselField::Width);
}

void TFoOstrel::SpinXChange(TObject*) {
    VesselChanged(SpinX, TVesselField::X);
}

void TFoOstrel::SpinYChange(TObject*) {
    VesselChanged(SpinY, TVesselField::Y);
}

void TFoOstrel::EchoYChange(TObject*) {
    VesselChanged(EchoY, TVesselField::EchoY);
}

void TFoOstrel::PickAntenna(int x, int y) {
    // The fields set by a pick must not push the length or width.
    BtnOK->SetFocus();
    const auto pick = ::PickAntenna(VesselFromControls(), x, y, kBoatWidth, kBoatHeight);
    if (!pick) return;
    SpinX->SetValue(pick->X);
    SpinY->SetValue(pick->Y);
}

void TFoOstrel::PickSounder(int y) {
    BtnOK->SetFocus();
    const auto pick = ::PickSounder(VesselFromControls(), y, kBoatWidth, kBoatHeight);
    if (pick) EchoY->SetValue(*pick);
}

void TFoOstrel::ImgBoatMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button == mbLeft) PickAntenna(x, y);
}

void TFoOstrel::ImgBoatMouseMove(TObject*, TShiftState shift, int x, int y) {
    if (shift.Contains(ssLeft)) PickAntenna(x, y);
}

void TFoOstrel::ImgCrossMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button == mbLeft)
        PickAntenna(x + ImgCross->GetLeft() - ImgBoat->GetLeft(),
                    y + ImgCross->GetTop() - ImgBoat->GetTop());
}

void TFoOstrel::ImgCrossMouseMove(TObject*, TShiftState shift, int x, int y) {
    if (shift.Contains(ssLeft))
        PickAntenna(x + ImgCross->GetLeft() - ImgBoat->GetLeft(),
                    y + ImgCross->GetTop() - ImgBoat->GetTop());
}

void TFoOstrel::EchoMouseDown(TObject*, TMouseButton button, TShiftState, int, int y) {
    if (button == mbLeft) PickSounder(y + Echo->GetTop() - ImgBoat->GetTop());
}

void TFoOstrel::EchoMouseMove(TObject*, TShiftState shift, int, int y) {
    if (shift.Contains(ssLeft)) PickSounder(y + Echo->GetTop() - ImgBoat->GetTop());
}
