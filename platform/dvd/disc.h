#pragma once
// Which disc the DVD control plays, and whether a DVD-Video disc is really there.
//
// The disc is the machine's DVD drive (/dev/dvd, else the first /dev/sr*), unless the
// settings store names another under application "DVD Player", section "Drive", key
// "Device": a drive, an ISO image, or a folder holding VIDEO_TS.
#include <QString>

namespace dvd {

inline const char *const SettingsApplication = "DVD Player";
inline const char *const SettingsSection = "Drive";
inline const char *const SettingsKey = "Device";

// The device, image or folder to play; empty when the machine has no drive and the
// settings store names none.
QString discSource();

// The platform's drive: /dev/dvd, else the lowest-numbered /dev/sr*; empty if none.
// `devRoot` is the device folder (tests point it elsewhere).
QString defaultDrive(const QString &devRoot = QStringLiteral("/dev"));

enum class DiscState {
    NoSource,     // no drive and nothing named
    Missing,      // the named device, image or folder is not there
    NoDisc,       // a drive without a disc (or with its tray open)
    Unreadable,   // there is something, but no readable DVD-Video structure on it
    Ready,        // a DVD-Video disc whose video manager could be read
};

// Looks at `source` without playing it. Quick for images and folders; a drive is
// asked for its media state before anything is read from it.
DiscState probeDisc(const QString &source);

// A short English description of a state, for error texts.
QString describe(DiscState state, const QString &source);

} // namespace dvd
