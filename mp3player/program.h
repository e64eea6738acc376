#pragma once
#include "forms/program.h"

namespace mp3player {

// "Mp3 Player": the numbers are stamped in by the build.
forms::ProgramInfo programInfo();

} // namespace mp3player
