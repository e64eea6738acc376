#pragma once
// Drive-letter paths. "c:/Tavolin/Gaming" and "C:\Program Files\x" name folders under
// tavolin/drives/<drive letter in lower case>/ in the XDG data folders: $XDG_DATA_HOME
// (~/.local/share), then each of $XDG_DATA_DIRS, then the share/ folder beside the
// installed bin/, so an installation under any prefix finds its own drives.
#include <QString>
#include <QStringList>

namespace shell {

// True for "c:", "c:/…" and "c:\…" (either case).
bool isDrivePath(const QString &path);

// The local path a drive-letter path stands for: the first data folder in which it
// exists, or, when it exists in none, where it would be under $XDG_DATA_HOME.
// Slash and backslash both separate; names are matched without regard to case where
// the exact name is missing. A path that is not a drive path is returned unchanged.
QString mapDrivePath(const QString &path);

// The roots searched, in order: <data folder>/tavolin/drives.
QStringList driveRoots();

} // namespace shell
