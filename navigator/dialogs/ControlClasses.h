// The custom control classes the program's dialog templates name, registered
// with the window layer when the program's module is first asked for: the
// tide graph "TGraphWindow" (made without a curve when no dialog claims its
// item) and the colour patch "ColorControl".
#pragma once

void RegisterDialogControlClasses();
