#include "browser/program.h"

namespace browser {

forms::ProgramInfo programInfo()
{
    return {QStringLiteral("Internet Browser"), PROGRAM_VERSION_MAJOR, PROGRAM_VERSION_MINOR,
            PROGRAM_VERSION_REVISION};
}

} // namespace browser
