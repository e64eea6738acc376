#pragma once
// Real MP3 files for the tests, made on the spot with ffmpeg: a quiet sine tone.
#include <QString>

namespace tavtest {

// Writes an MP3 tone of `seconds` to `path` (folders are created). Returns false, with
// ffmpeg's complaint in `error`, when it cannot be made.
bool makeMp3(const QString &path, double seconds, QString *error = nullptr);

// Copies one file to `path` (folders created); true on success.
bool copyFile(const QString &from, const QString &path);

} // namespace tavtest
