#include "app/FollowState.h"

TFollowState& FollowState() {
    static TFollowState state;
    return state;
}
