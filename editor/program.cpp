#include "editor/program.h"

namespace editor {

forms::ProgramInfo programInfo()
{
    return {QStringLiteral("Text Editor"), PROGRAM_VERSION_MAJOR, PROGRAM_VERSION_MINOR,
            PROGRAM_VERSION_REVISION};
}

} // namespace editor
