#pragma once
#include "forms/program.h"

namespace dvdplayer {

// "DVD Player": the caption of its message boxes. The numbers are stamped in by the build.
forms::ProgramInfo programInfo();

} // namespace dvdplayer
