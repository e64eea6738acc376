#pragma once
#include "forms/program.h"

namespace editor {

// "Text Editor", version 1.0.0: the numbers are stamped in by the build.
forms::ProgramInfo programInfo();

// The window placement, stored under the program's title.
inline const char *const SettingsApplication = "Text Editor";
inline const char *const SettingsSection = "Settings";

} // namespace editor
