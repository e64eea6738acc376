#pragma once
// One tick of a progress run, shared by System Control and the closing screen.
#include "forms/controls.h"

namespace launcher {

enum class ProgressTick {
    Stepped,    // the bar was not full and went one step on (or the step failed)
    Completed,  // the bar was full: the caller ends its run
    Nothing,    // the value stood above the maximum
};

// Reading the bar cannot fail; a step the bar refuses ends the tick without stopping
// the run.
ProgressTick stepProgress(forms::ProgressBar *bar);

} // namespace launcher
