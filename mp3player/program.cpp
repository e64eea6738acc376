#include "mp3player/program.h"

namespace mp3player {

forms::ProgramInfo programInfo()
{
    return {QStringLiteral("Mp3 Player"), PROGRAM_VERSION_MAJOR, PROGRAM_VERSION_MINOR,
            PROGRAM_VERSION_REVISION};
}

} // namespace mp3player
