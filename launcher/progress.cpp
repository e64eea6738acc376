#include "launcher/progress.h"

namespace launcher {

ProgressTick stepProgress(forms::ProgressBar *bar)
{
    bool notFull = true;
    try {
        notFull = bar->max() > bar->value();
    } catch (const std::exception &) {
        notFull = true;
    }
    if (notFull) {
        try {
            bar->setValue(bar->value() + 1.0f);
        } catch (const std::exception &) {
        }
        return ProgressTick::Stepped;
    }
    bool full = true;
    try {
        full = bar->max() == bar->value();
    } catch (const std::exception &) {
        full = true;
    }
    return full ? ProgressTick::Completed : ProgressTick::Nothing;
}

} // namespace launcher
