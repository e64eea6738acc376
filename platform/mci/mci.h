#pragma once
// The media control interface: devices driven by text commands, each device known by
// one name (its alias), every command answering 0 or an error code that has a text.
//
//   open <file> [type MPEGVideo] [alias <name>]     play <name> [from <ms>]
//   pause <name>     stop <name>     close <name>     status <name> mode|position|length
//
// Command words, keywords, device types and aliases are matched without regard to
// case; a file name may be written in double quotes. One name addresses one device:
// an alias that is in use cannot be opened again until it is closed. Playback goes
// through libmpv, sound only (no video window ever opens); "play" returns at once
// while the sound goes on, and the end of a file shows as the mode "stopped".
//
// Everything runs on the thread that sends the commands (the GUI thread): libmpv only
// wakes that thread through its event loop, and its events are read there.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace mci {

using Error = std::uint32_t;

// The error codes. Every code has a text (getErrorString).
namespace Err {
constexpr Error None = 0;
constexpr Error InvalidDeviceId = 257;
constexpr Error UnrecognizedKeyword = 259;
constexpr Error UnrecognizedCommand = 261;
constexpr Error Hardware = 262;
constexpr Error InvalidDeviceName = 263;
constexpr Error OutOfMemory = 264;
constexpr Error DeviceOpen = 265;
constexpr Error CannotLoadDriver = 266;
constexpr Error MissingCommandString = 267;
constexpr Error ParamOverflow = 268;
constexpr Error MissingStringArgument = 269;
constexpr Error BadInteger = 270;
constexpr Error Internal = 271;
constexpr Error MissingParameter = 273;
constexpr Error UnsupportedFunction = 274;
constexpr Error FileNotFound = 275;
constexpr Error DeviceNotReady = 276;
constexpr Error OutOfRange = 282;
constexpr Error DuplicateAlias = 289;
constexpr Error MissingDeviceName = 292;
constexpr Error NoClosingQuote = 294;
constexpr Error DuplicateFlags = 295;
constexpr Error InvalidFile = 296;
constexpr Error FilenameRequired = 304;
constexpr Error ExtraCharacters = 305;
}

// Sends one command. `returnString` (may be null when `returnLength` is 0) receives
// the answer of a status query; every other command, and every failure, leaves the
// empty text in it. The callback window is accepted and not used: no command here
// sends notifications.
Error sendString(const char *command, char *returnString, unsigned returnLength,
                 void *callbackWindow = nullptr);

// The text for an error code, cut to fit `length` bytes with its terminating NUL.
// False (and a text saying so) for a number that is no error code of the interface.
bool getErrorString(Error code, char *text, unsigned length);
QString errorText(Error code);

// The short form of an existing path: a name without blanks, quotes or any character
// that the command parser treats specially, short enough for the command field. Paths
// that are already plain are returned as they are; any other file is reached through
// a link in a private folder of the user's (see shortpath.cpp). Returns the length of
// the short form written to `shortPath`; when it does not fit `length`, the length
// needed (with the NUL) and nothing is written; 0 when the path does not exist or no
// short form can be made. Paths are 8-bit text in the file system's encoding.
unsigned long getShortPathName(const char *longPath, char *shortPath, unsigned long length);

// The file look-up: the file's name when `path` names an ordinary file (not a folder,
// not hidden), the empty text otherwise.
QString ordinaryFileName(const QString &path);

// The sound output of the devices opened from now on, by libmpv's audio output names
// ("null" plays silently in real time, for tests and machines without sound). Empty,
// the default, means the system's usual output; when no sound device can be opened
// the device plays silently instead of failing.
void setAudioOutput(const QString &driver);
QString audioOutput();

// What the devices report as it happens, for measurements: the sound has started
// (the first time a play command is followed by running audio) or a file has ended.
enum class DeviceEvent { AudioStarted, Ended };
using EventObserver = std::function<void(const QByteArray &deviceName, DeviceEvent event)>;
void setEventObserver(EventObserver observer);

// Every command as it was sent (up to its NUL) with the code it got, for tests.
using CommandObserver = std::function<void(const QByteArray &command, Error result)>;
void setCommandObserver(CommandObserver observer);

// How many devices are open now (for tests: a window that closes leaves none behind).
int openDeviceCount();

} // namespace mci
