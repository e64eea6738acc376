#pragma once
#include "forms/program.h"

namespace launcher {

// "Tavolin 2005", version 1.0.12: the numbers are stamped in by the build.
forms::ProgramInfo programInfo();

// The category number stored by the main window and read back by the category view.
inline const char *const SettingsApplication = "Norvel";
inline const char *const SettingsSection = "Tavolin";
inline const char *const SettingsKey = "Apps";

} // namespace launcher
