#include "launcher/progress.h"

namespace launcher {

ProgressTick stepProgress(forms::ProgressBar *bar)
{
    if (bar->max() > bar->value()) {
        try {
            bar->setValue(bar->value() + 1.0f);
        } catch (const std::exception &) {
            // A step the bar refuses ends the tick; the next tick tries again.
        }
        return ProgressTick::Stepped;
    }
    return bar->max() == bar->value() ? ProgressTick::Completed : ProgressTick::Nothing;
}

} // namespace launcher
