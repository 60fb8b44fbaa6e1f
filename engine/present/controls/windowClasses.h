// The library's window classes: the controls a dialog may name by class, each
// made by a factory as a child of a given parent widget.
//
// The table holds "TGeoPosition32" (the position control) and "TDateTime32"
// (the date-time control) from library start. It is built on first use
// without making any Qt object, so it can be asked before a Qt application
// exists; the factories themselves need one. Class names are matched without
// regard to ASCII case, as window classes are.
#pragma once

#include <cstdint>

class QWidget;

// Makes the control as a child of parent (which owns it), with the window
// style bits and the control id a dialog gives; null when it cannot be made.
typedef QWidget* (*WindowClassFactory)(QWidget* parent, std::uint32_t style, int id);

// The factory of a window class, or null for a class the library does not
// have (or a null name).
WindowClassFactory findWindowClass(const char* className);

// The factories of the two controls.
QWidget* newGeoPositionControl(QWidget* parent, std::uint32_t style, int id);
QWidget* newDateTimeControl(QWidget* parent, std::uint32_t style, int id);
