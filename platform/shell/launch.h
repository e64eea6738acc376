#pragma once
// Starting programs and opening files, always without a shell.
#include <QString>

namespace shell {

// Splits the command text like a command line ("quoted parts" keep their blanks),
// maps a drive-letter program path to its local folder and starts the program on its
// own. False, with a readable reason in `error`, when it cannot be started. A text that
// as a whole names an existing file starts that file, blanks in its path and all.
bool startProgram(const QString &commandText, QString *error = nullptr);

// Starts an executable file by its path, with no arguments.
bool startExecutable(const QString &path, QString *error = nullptr);

// Starts a freedesktop .desktop launcher by GIO's rules for its Exec line.
bool launchDesktopFile(const QString &path, QString *error = nullptr);

// Opens a file with the desktop's default application for its type.
bool openWithDefaultApplication(const QString &path, QString *error = nullptr);

// Name and icon of a .desktop launcher, as a desktop file browser shows it. False for
// a file GIO does not accept as a launcher (it is then listed as a plain file).
struct DesktopEntryInfo {
    QString name;
    QString icon;        // an icon theme name or a full path; may be empty
};
bool readDesktopEntry(const QString &path, DesktopEntryInfo *info);

// The file test: the file's name when `path` is an existing ordinary file (not a
// folder, not hidden), the empty text otherwise. Drive-letter paths are mapped.
QString ordinaryFileName(const QString &path);

bool isExecutableFile(const QString &path);

} // namespace shell
