// Following own ship: while the follow flag is on, the chart window keeps own
// ship in view and chooses the chart level itself. Command 120 and the Home
// key switch it; the chart window's timer reads it. Touched only on the GUI
// thread.
#pragma once

#include <cstdint>

struct TFollowState {
    std::uint8_t followFlag = 1; // on at start
    int autoChartCounter = 0;    // counts up between automatic chart level checks
    int autoChartRequest = 0;    // while positive, a higher chart level may be chosen too
};

TFollowState& FollowState();
