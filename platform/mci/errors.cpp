#include "mci/mci.h"
#include <cstring>

namespace mci {

namespace {

struct ErrorText {
    Error code;
    const char *text;
};

// Each text fits a 128-byte buffer with room to spare.
const ErrorText Texts[] = {
    {Err::None, "The command was carried out."},
    {Err::InvalidDeviceId, "The device number is not valid."},
    {Err::UnrecognizedKeyword, "The command contains a word that it does not take."},
    {Err::UnrecognizedCommand, "The command is not known."},
    {Err::Hardware, "The sound device reported a problem. Check that it works, then try again."},
    {Err::InvalidDeviceName, "No device is open under this name."},
    {Err::OutOfMemory, "There is not enough memory to carry out the command."},
    {Err::DeviceOpen, "A device is already open under this name. Close it first, or give the new one an alias."},
    {Err::CannotLoadDriver, "The device type is not known, or the player behind it could not be started."},
    {Err::MissingCommandString, "The command is empty."},
    {Err::ParamOverflow, "The answer does not fit into the buffer given for it."},
    {Err::MissingStringArgument, "A keyword of the command is missing its value."},
    {Err::BadInteger, "A number in the command is not a whole number of milliseconds."},
    {Err::Internal, "The player behind the device failed to carry out the command."},
    {Err::MissingParameter, "The command is missing an item it needs."},
    {Err::UnsupportedFunction, "The device cannot carry out this command."},
    {Err::FileNotFound, "The file cannot be found. Check that the path and the file name are right."},
    {Err::DeviceNotReady, "The device is not ready. Close it and open the file again."},
    {Err::OutOfRange, "A position in the command lies beyond the end of the file."},
    {Err::DuplicateAlias, "The alias is already in use. Close the device that has it, or choose another alias."},
    {Err::MissingDeviceName, "The command does not name a device."},
    {Err::NoClosingQuote, "A double quote in the command is not closed."},
    {Err::DuplicateFlags, "A keyword is given more than once in the command."},
    {Err::InvalidFile, "The file cannot be played: it is damaged, or it is not a sound file this device knows."},
    {Err::FilenameRequired, "A file name is needed to open this device."},
    {Err::ExtraCharacters, "The command goes on after its last item."},
};

const char UnknownText[] = "The error number is not known.";

void copyText(const char *text, char *buffer, unsigned length)
{
    if (!buffer || length == 0)
        return;
    const size_t n = qMin<size_t>(std::strlen(text), length - 1);
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

} // namespace

bool getErrorString(Error code, char *text, unsigned length)
{
    for (const ErrorText &entry : Texts) {
        if (entry.code == code) {
            copyText(entry.text, text, length);
            return true;
        }
    }
    copyText(UnknownText, text, length);
    return false;
}

QString errorText(Error code)
{
    char text[256];
    getErrorString(code, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace mci
