#include "chart/TFloatingToolBox.h"

#include <array>

namespace {

using Type = ui::TButtonGadget::TType;

constexpr std::array<TToolBoxButton, 12> kButtons{{
    {120, 120, Type::NonExclusive, "Auto kartskifte"},
    {104, 108, Type::NonExclusive, "Belysning"},
    {134, 134, Type::NonExclusive, "Fjerne loddskudd > 5 m."},
    {119, 119, Type::NonExclusive, "Objekt info"},
    {131, kReliefCommand, Type::NonExclusive, "2D relief kart bakgrunn"},
    {132, k3DViewCommand, Type::NonExclusive, "3D presentasjosvindu"},
    {51, 56, Type::Exclusive, "Slette"},
    {57, 57, Type::Exclusive, "Legge inn nye symboler"},
    {97, 97, Type::Command, "Velge rute"},
    {52, 52, Type::NonExclusive, "Endre rute"},
    {53, 53, Type::NonExclusive, "Lage ny rute"},
    {55, 55, Type::Command, "Avslutte"},
}};

// WS_CHILD | WS_VISIBLE | WS_DLGFRAME, and WS_EX_TOPMOST | WS_EX_TOOLWINDOW |
// WS_EX_WINDOWEDGE.
constexpr std::uint32_t kStyle = 0x50400000u, kExStyle = 0x188u;
// The frame the box adds around its buttons, in width and in height.
constexpr int kFrameAllowance = 6;

} // namespace

std::span<const TToolBoxButton> ToolBoxButtons() {
    return kButtons;
}

std::vector<TToolBoxButton> ToolBoxButtonsFor(bool exchangeLoaded, bool viewAvailable) {
    std::vector<TToolBoxButton> out;
    for (const TToolBoxButton& b : kButtons) {
        if (b.command == kReliefCommand && !exchangeLoaded) continue;
        if (b.command == k3DViewCommand && !viewAvailable) continue;
        out.push_back(b);
    }
    return out;
}

TFloatingToolBox::TFloatingToolBox(ui::TWindow* parent, bool exchangeLoaded, bool viewAvailable,
                                   ui::TTooltip* tooltip, ui::TModule* module)
    : TToolBox(parent, 1, int(ToolBoxButtonsFor(exchangeLoaded, viewAvailable).size()), Vertical,
               module),
      buttons_(ToolBoxButtonsFor(exchangeLoaded, viewAvailable)), tooltip_(tooltip) {
    SetCaption("Rt");
    Attr.Style = kStyle;
    Attr.ExStyle = kExStyle;
    for (const TToolBoxButton& b : buttons_)
        Insert(*new ui::TButtonGadget(b.glyph, b.command, b.type));
}

void TFloatingToolBox::GetDesiredSize(ui::TSize& size) {
    TToolBox::GetDesiredSize(size);
    size.cx += kFrameAllowance;
    size.cy += kFrameAllowance;
}

void TFloatingToolBox::SetupWindow() {
    TToolBox::SetupWindow();
    PlaceAtRightEdge();
    if (!tooltip_) return;
    for (const TToolBoxButton& b : buttons_)
        if (ui::TGadget* g = GadgetWithId(b.command))
            tooltip_->AddTool(ui::TToolInfo(*this, g->GetBounds(), ui::UINT(b.command), b.tip));
}

void TFloatingToolBox::PlaceAtRightEdge() {
    ui::TWindow* parent = GetParentO();
    if (!parent || !IsWindow()) return;
    const int width = parent->GetClientRect().Width();
    placedForWidth_ = width;
    SetWindowPos(nullptr, width - GetWindowRect().Width(), 0, 0, 0,
                 ui::SWP_NOSIZE | ui::SWP_NOZORDER | ui::SWP_NOACTIVATE);
}

bool TFloatingToolBox::IdleAction(long idleCount) {
    const bool more = TToolBox::IdleAction(idleCount);
    // Qt gives the chart window its size only after the set-up, and again
    // whenever the frame changes: the box follows the right edge.
    if (ui::TWindow* parent = GetParentO();
        parent && parent->GetClientRect().Width() != placedForWidth_)
        PlaceAtRightEdge();
    return more;
}
