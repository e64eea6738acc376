#pragma once
#include "forms/program.h"

namespace gridlark {

// The game's title and version (the numbers are stamped in by the build). The title is
// never shown: every box the game opens has a title of its own.
forms::ProgramInfo programInfo();

// Where the credit box sends players who want to write to the maker.
inline const char *const ContactEmail = "brambleton@brambleton.example";

} // namespace gridlark
