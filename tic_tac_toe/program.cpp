#include "tic_tac_toe/program.h"

namespace gridlark {

forms::ProgramInfo programInfo()
{
    return {QStringLiteral("Gridlark"), PROGRAM_VERSION_MAJOR, PROGRAM_VERSION_MINOR,
            PROGRAM_VERSION_REVISION};
}

} // namespace gridlark
