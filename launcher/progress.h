#pragma once
// One tick of a progress run, shared by System Control and the closing screen.
#include "forms/controls.h"

namespace launcher {

enum class ProgressTick {
    Stepped,    // the bar was not full and went one step on (or the step failed)
    Completed,  // the bar was full: the caller ends its run
    Nothing,    // the value stood above the maximum
};

// A failure reading or setting the bar never stops the tick: a failed first
// comparison counts as not full, a failed step ends the tick, a failed second
// comparison counts as a full bar.
ProgressTick stepProgress(forms::ProgressBar *bar);

} // namespace launcher
