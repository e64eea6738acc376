#include "launcher/program.h"

namespace launcher {

forms::ProgramInfo programInfo()
{
    return {QStringLiteral("Tavolin 2005"), PROGRAM_VERSION_MAJOR, PROGRAM_VERSION_MINOR,
            PROGRAM_VERSION_REVISION};
}

} // namespace launcher
