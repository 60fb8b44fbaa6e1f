// Form descriptions: a form is a C++ table of its components.
//
//   constexpr TComponentDesc kWarningParts[] = {
//       {.Name = "LblWarningHeading", .Maker = Make<TLabel>, .Caption = u8"Advarsel!",
//        .Bounds = {12, 8, 0, 0}},
//       {.Name = "BtnErase", .Maker = Make<TButton>, .Caption = u8"Nullstill",
//        .Bounds = {40, 120, 90, 25}, .Events = {"OnClick=BtnEraseClick"}},
//       {.Name = "Timer1", .Maker = Make<TTimer>, .Events = {"OnTimer=Timer1Timer"},
//        .Interval = 900},
//   };
//   constexpr TFormDesc kFoWarning{.Name = "FoWarning", .Caption = u8"Advarsel",
//                                  .Bounds = {0, 0, 360, 170},
//                                  .Events = {"OnShow=FormShow"},
//                                  .Components = kWarningParts};
//
// Texts of descriptions are UTF-8 literals; names and events are ASCII. A
// component's parent is named by its name ("" is the form); it may stand
// anywhere in the table. Events are written "OnClick=Method", the method one the
// form class publishes (Published.h). Building a form (CreateForm) checks every
// entry and throws one TFormError that lists every problem.
//
// Bounds are pixels in the parent's client area (a form's Left and Top are on
// the screen, its Width and Height are its client size). A width or height of 0
// takes the component's natural size: a label's text, a picture's size, else
// the widget's own suggestion.
#pragma once

#include <array>
#include <span>

namespace ui::forms {

class TComponent;

struct TBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// Low and high: a spin edit's MinValue and MaxValue, a progress bar's Min and
// Max. {0, 0} leaves the component's default.
struct TRange {
    int Min = 0, Max = 0;
};

using TMaker = TComponent* (*)(TComponent* owner);
template <class T> TComponent* Make(TComponent* owner) {
    return new T(owner);
}

struct TComponentDesc {
    const char* Name = "";
    TMaker Maker = nullptr;
    const char* Parent = "";          // "" : the form; a menu item's is its popup menu
    const char8_t* Caption = nullptr; // Caption or Text
    const char8_t* Hint = nullptr;    // tool tip
    TBounds Bounds{};
    TRange Range{};
    const char8_t* Items = nullptr;      // lines split at "\n": combo items, tabs, memo lines
    const char* Picture = nullptr;       // a picture file or Qt resource (":/...")
    std::array<const char*, 3> Events{}; // "OnClick=BtnCopyClick"
    bool Visible = true;
    bool Enabled = true;
    int Style = 0;    // a combo box's TComboBoxStyle
    int Interval = 0; // a timer's interval in ms (0: 1000)
};

struct TFormDesc {
    const char* Name = "";
    const char8_t* Caption = nullptr;
    TBounds Bounds{};
    std::array<const char*, 6> Events{}; // OnCreate, OnShow, OnActivate, OnClose, ...
    std::span<const TComponentDesc> Components{};
};

} // namespace ui::forms
