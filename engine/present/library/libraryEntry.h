// Start and end of the library in a process.
//
// When the library is loaded its entry point is called with reason 1 (attach)
// and when it is unloaded with reason 0 (detach), by the library's own
// constructor and destructor functions. The first attach starts the graphics
// layer without a font directory (GD_Init: the symbol fonts are looked for in
// the current directory, then where the build and the installation put them)
// and then fills the built-in procedure tables (InitCondSymbProcs); later
// attaches only count. The detach that brings the count back to 0 shuts the
// graphics layer down (GD_Done). The tables the other start-up routines
// build are constant or zero-initialised, and the window-class table
// (controls/windowClasses.h) is built on first use, so nothing here depends on
// the order of the library's other start-up functions. No Qt object is made.
#pragma once

// Reasons of the entry point.
inline constexpr unsigned long kProcessDetach = 0;
inline constexpr unsigned long kProcessAttach = 1;
inline constexpr unsigned long kThreadAttach = 2;
inline constexpr unsigned long kThreadDetach = 3;

// The entry point: keeps the module handle on attach and counts attaches and
// detaches as above; other reasons do nothing. Answers 1 in every case.
int SkjoldrEntryPoint(void* module, unsigned long reason, void* reserved);

// The module handle kept by the last attach (the library's load address), or
// null before one.
void* SkjoldrModule();
