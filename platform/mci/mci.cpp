#include "mci/mci.h"
#include "mci/device.h"
#include "shell/launch.h"
#include <QFile>
#include <QFileInfo>
#include <QVarLengthArray>
#include <cstring>
#include <map>
#include <optional>

namespace mci {

namespace {

QString g_audioOutput;
EventObserver g_observer;
CommandObserver g_commandObserver;

// Names compared without regard to case, looked up without copying them.
struct NameLess {
    using is_transparent = void;
    bool operator()(QByteArrayView a, QByteArrayView b) const
    {
        return qstrnicmp(a.data(), a.size(), b.data(), b.size()) < 0;
    }
};

// Open devices by name. The mode query runs a hundred times a second while the
// player loops, so reading a command allocates nothing.
std::map<QByteArray, std::unique_ptr<Device>, NameLess> &devices()
{
    static std::map<QByteArray, std::unique_ptr<Device>, NameLess> table;
    return table;
}

struct Token {
    QByteArrayView text;
    bool quoted = false;
    // A command word or keyword, matched without regard to case. A quoted word is
    // always a value, never a keyword.
    bool is(const char *word) const
    {
        return !quoted && qstrnicmp(text.data(), text.size(), word, qsizetype(std::strlen(word))) == 0;
    }
};
using Tokens = QVarLengthArray<Token, 8>;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

Error tokenize(const char *command, Tokens *tokens)
{
    const char *p = command;
    for (;;) {
        while (*p && isBlank(*p))
            ++p;
        if (!*p)
            return Err::None;
        Token token;
        if (*p == '"') {
            const char *end = std::strchr(p + 1, '"');
            if (!end)
                return Err::NoClosingQuote;
            token.text = QByteArrayView(p + 1, end - p - 1);
            token.quoted = true;
            p = end + 1;
            if (*p && !isBlank(*p))
                return Err::ExtraCharacters;
        } else {
            const char *start = p;
            while (*p && !isBlank(*p))
                ++p;
            token.text = QByteArrayView(start, p - start);
        }
        tokens->append(token);
    }
}

Error answer(char *returnString, unsigned returnLength, QByteArrayView text)
{
    if (!returnString || returnLength < unsigned(text.size()) + 1)
        return Err::ParamOverflow;
    std::memcpy(returnString, text.constData(), size_t(text.size()));
    returnString[text.size()] = '\0';
    return Err::None;
}

Error parseMilliseconds(const Token &token, qint64 *ms)
{
    bool ok = false;
    const qint64 value = token.text.toByteArray().toLongLong(&ok);
    if (!ok || value < 0 || token.text.startsWith('+'))
        return Err::BadInteger;
    *ms = value;
    return Err::None;
}

Error openCommand(const Tokens &tokens)
{
    if (tokens.size() < 2)
        return Err::MissingDeviceName;
    if (tokens.at(1).is("type") || tokens.at(1).is("alias"))
        return Err::FilenameRequired;
    const Token &element = tokens.at(1);
    std::optional<QByteArrayView> type, alias;
    for (int i = 2; i < tokens.size(); ++i) {
        std::optional<QByteArrayView> *slot = tokens.at(i).is("type") ? &type
                                        : tokens.at(i).is("alias") ? &alias : nullptr;
        if (!slot)
            return Err::UnrecognizedKeyword;
        if (*slot)
            return Err::DuplicateFlags;
        if (i + 1 >= tokens.size())
            return Err::MissingStringArgument;
        *slot = tokens.at(++i).text;
    }
    if (type && qstrnicmp(type->data(), type->size(), "MPEGVideo", 9) != 0)
        return Err::CannotLoadDriver;

    const QByteArray name = (alias ? *alias : element.text).toByteArray();
    if (name.isEmpty())
        return Err::MissingDeviceName;
    if (devices().count(name))
        return alias ? Err::DuplicateAlias : Err::DeviceOpen;
    if (element.text.isEmpty())
        return Err::FilenameRequired;
    const QFileInfo file(QFile::decodeName(element.text.toByteArray()));
    if (!file.exists())
        return Err::FileNotFound;
    if (!file.isFile())
        return Err::InvalidFile;

    std::unique_ptr<Device> device;
    const Error error = Device::open(name, file.absoluteFilePath(), &device);
    if (error == Err::None)
        devices().emplace(name, std::move(device));
    return error;
}

Error deviceCommand(const Tokens &tokens, char *returnString, unsigned returnLength)
{
    const Token &verb = tokens.at(0);
    if (tokens.size() < 2)
        return Err::MissingDeviceName;
    const auto found = devices().find(tokens.at(1).text);
    if (found == devices().end())
        return Err::InvalidDeviceName;
    Device *device = found->second.get();
    const int extra = int(tokens.size()) - 2;

    if (verb.is("play")) {
        std::optional<qint64> from;
        for (int i = 2; i < tokens.size(); ++i) {
            if (!tokens.at(i).is("from"))
                return Err::UnrecognizedKeyword;
            if (from)
                return Err::DuplicateFlags;
            if (i + 1 >= tokens.size())
                return Err::MissingParameter;
            qint64 ms = 0;
            if (const Error e = parseMilliseconds(tokens.at(++i), &ms))
                return e;
            from = ms;
        }
        return device->play(from);
    }
    if (verb.is("pause") || verb.is("stop") || verb.is("close")) {
        if (extra > 0)
            return Err::UnrecognizedKeyword;
        if (verb.is("pause"))
            return device->pause();
        if (verb.is("stop"))
            return device->stop();
        devices().erase(found);   // closes the device
        return Err::None;
    }
    if (verb.is("status")) {
        if (extra == 0)
            return Err::MissingParameter;
        if (extra > 1)
            return Err::ExtraCharacters;
        const Token &item = tokens.at(2);
        if (item.is("mode")) {
            static const char *const names[] = {"not ready", "stopped", "playing", "paused"};
            return answer(returnString, returnLength, QByteArrayView(names[int(device->mode())]));
        }
        if (item.is("position")) {
            device->drainEvents();
            return answer(returnString, returnLength, QByteArray::number(device->positionMs()));
        }
        if (item.is("length")) {
            const qint64 length = device->lengthMs();
            return answer(returnString, returnLength, QByteArray::number(qMax<qint64>(0, length)));
        }
        return Err::UnrecognizedKeyword;
    }
    return Err::UnrecognizedCommand;
}

Error execute(const char *command, char *returnString, unsigned returnLength)
{
    if (returnString && returnLength > 0)
        returnString[0] = '\0';
    if (!command)
        return Err::MissingCommandString;
    Tokens tokens;
    if (const Error e = tokenize(command, &tokens))
        return e;
    if (tokens.isEmpty())
        return Err::MissingCommandString;
    const Token &verb = tokens.at(0);
    Error result;
    if (verb.is("open"))
        result = openCommand(tokens);
    else if (verb.is("play") || verb.is("pause") || verb.is("stop") || verb.is("close") || verb.is("status"))
        result = deviceCommand(tokens, returnString, returnLength);
    else
        result = Err::UnrecognizedCommand;
    if (result != Err::None && returnString && returnLength > 0)
        returnString[0] = '\0';
    return result;
}

} // namespace

Error sendString(const char *command, char *returnString, unsigned returnLength, void *)
{
    const Error result = execute(command, returnString, returnLength);
    if (g_commandObserver)
        g_commandObserver(QByteArray(command ? command : ""), result);
    return result;
}

QString ordinaryFileName(const QString &path) { return shell::ordinaryFileName(path); }

void setAudioOutput(const QString &driver) { g_audioOutput = driver; }
QString audioOutput() { return g_audioOutput; }

void setCommandObserver(CommandObserver observer) { g_commandObserver = std::move(observer); }

void setEventObserver(EventObserver observer) { g_observer = std::move(observer); }

void notify(const QByteArray &deviceName, DeviceEvent event)
{
    if (g_observer)
        g_observer(deviceName, event);
}

int openDeviceCount() { return int(devices().size()); }

} // namespace mci
