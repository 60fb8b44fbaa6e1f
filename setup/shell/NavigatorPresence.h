// Whether a navigation program runs: the setup program must not change the
// charts or the user database under a program that reads them.
//
// Each edition's program marks its main window with a presence lock named by
// its window title (os/instanceLocks.h); the navigation program built here
// holds "Solvanor V lite".
#pragma once

#include <string>

// The main-window titles of the editions, in the order they are asked.
inline constexpr const char* kNavigatorTitles[] = {"Solvanor V", "Solvanor B", "Solvanor N",
                                                   "Solvanor R", "Solvanor V lite"};

// The message shown when one runs (the same in both languages).
inline constexpr const char* kStopNavigatorMessage = "Stop Solvanor program and restart Ostrel!";

// True when a window of any of the titles is present.
bool AnyNavigatorRunning();
