#include "dvdplayer/program.h"

namespace dvdplayer {

forms::ProgramInfo programInfo()
{
    return {QStringLiteral("DVD Player"), PROGRAM_VERSION_MAJOR, PROGRAM_VERSION_MINOR,
            PROGRAM_VERSION_REVISION};
}

} // namespace dvdplayer
