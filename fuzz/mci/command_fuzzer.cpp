// MCI command strings through the interface's command parser, with a stand-in player
// (fake_device.cpp), so that "open" of any existing file is cheap and the commands on
// open devices are reached as well.
//
// Input: commands separated by NUL bytes, sent one after the other. A command may
// start with a byte 0x01..0x08 choosing the size of the answer buffer (0x01 gives no
// buffer at all); without one the buffer holds 128 bytes. The files named in the seeds
// (a.mp3, "song with blanks.mp3", empty.mp3, dir, type, alias) exist in the working
// folder. For every command the target checks:
//   - the result is 0 or an error code with a text, and that text fits the 128-byte
//     buffer the programs give it, also cut to any smaller buffer without overrunning;
//   - the answer buffer is never written past its size, always holds a NUL, is empty
//     after a failure, and after a success holds nothing or a status answer;
//   - a command opens or closes at most one device, only when it succeeds, and the
//     table of devices and the devices alive agree;
//   - a device that was just opened is addressed by its name: it answers "stopped";
//   - every device still open at the end closes by its name, leaving none.
#include "fake_device.h"
#include "mci/mci.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// The commands run in a scratch folder holding the seeds' files; between inputs the
// fuzzer is back in its own working folder, where it keeps its corpus.
int g_scratch = -1;
int g_home = -1;

void setUp()
{
    const QString root = fakempv::scratchFolder(QStringLiteral("mci"));
    QDir().mkpath(root + QStringLiteral("/dir"));
    QDir().mkpath(root + QStringLiteral("/run"));
    for (const char *name : {"a.mp3", "song with blanks.mp3", "type", "alias", "MPEGVideo"}) {
        QFile file(root + QLatin1Char('/') + QLatin1String(name));
        if (file.open(QIODevice::WriteOnly))
            file.write("ID3");
    }
    QFile(root + QStringLiteral("/empty.mp3")).open(QIODevice::WriteOnly);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root + QStringLiteral("/run")));
    g_scratch = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY);
    g_home = ::open(".", O_RDONLY | O_DIRECTORY);
    check(g_scratch >= 0 && g_home >= 0, "scratch folder");
}

QByteArray g_observed;
mci::Error g_observedResult = 0;
int g_observedCount = 0;

bool isStatusAnswer(const char *text)
{
    for (const char *mode : {"not ready", "stopped", "playing", "paused"}) {
        if (std::strcmp(text, mode) == 0)
            return true;
    }
    if (!*text)
        return false;
    for (const char *p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
    }
    return true;
}

void checkErrorText(mci::Error code, unsigned cut)
{
    char full[256];
    check(mci::getErrorString(code, full, sizeof full), "every code has a text");
    const size_t length = std::strlen(full);
    check(length > 0 && length < 128, "the text fits a 128-byte buffer");
    // The same text cut to a smaller buffer: NUL-terminated, a prefix, no overrun.
    const unsigned size = 1 + cut % 160;
    std::unique_ptr<char[]> small(new char[size]);
    mci::getErrorString(code, small.get(), size);
    const size_t n = strnlen(small.get(), size);
    check(n < size, "a cut error text ends in a NUL inside its buffer");
    check(n == std::min<size_t>(length, size - 1) && std::memcmp(small.get(), full, n) == 0,
          "a cut error text is the start of the whole one");
}

QByteArray quoted(const QByteArray &name)
{
    for (char c : name) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            return '"' + name + '"';
    }
    return name;
}

mci::Error send(const QByteArray &command, char *answer, unsigned length)
{
    g_observedCount = 0;
    const mci::Error result = mci::sendString(command.constData(), answer, length);
    check(g_observedCount == 1 && g_observed == command && g_observedResult == result,
          "the command observer sees each command once, with its result");
    return result;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setUp();
    mci::setCommandObserver([](const QByteArray &command, mci::Error result) {
        g_observed = command;
        g_observedResult = result;
        ++g_observedCount;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const unsigned Sizes[] = {0, 1, 2, 3, 7, 8, 10, 24};
    const QList<QByteArray> commands =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    check(::fchdir(g_scratch) == 0, "into the scratch folder");
    int sent = 0;
    for (const QByteArray &piece : commands) {
        QByteArray command(piece.constData(), piece.size());   // an owned copy, NUL-terminated
        if (++sent > 32)
            break;
        unsigned length = 128;
        if (!command.isEmpty() && command.at(0) >= 1 && command.at(0) <= 8) {
            length = Sizes[command.at(0) - 1];
            command.remove(0, 1);
        }
        std::unique_ptr<char[]> answer(length ? new char[length] : nullptr);
        if (length)
            std::memset(answer.get(), 0x7f, length);

        const int before = mci::openDeviceCount();
        const QList<QByteArray> liveBefore = fakempv::liveDeviceNames();
        const mci::Error result = send(command, answer.get(), length);
        checkErrorText(result, unsigned(command.size()) + result);

        if (length) {
            const size_t n = strnlen(answer.get(), length);
            check(n < length, "the answer ends in a NUL inside its buffer");
            check(result == mci::Err::None || n == 0, "a failed command answers nothing");
            check(n == 0 || isStatusAnswer(answer.get()), "an answer is a mode or a number");
        }

        const int after = mci::openDeviceCount();
        const QList<QByteArray> live = fakempv::liveDeviceNames();
        check(after == live.size(), "the device table and the devices alive agree");
        check(after - before >= -1 && after - before <= 1, "one command opens or closes one device at most");
        check(result == mci::Err::None || after == before, "a failed command opens or closes nothing");
        if (after == before + 1) {
            QByteArray name;
            for (const QByteArray &n : live) {
                if (!liveBefore.contains(n))
                    name = n;
            }
            check(!name.isEmpty(), "a new device has a name");
            char mode[32];
            check(send("status " + quoted(name) + " mode", mode, sizeof mode) == mci::Err::None,
                  "a new device answers to its name");
            check(std::strcmp(mode, "stopped") == 0, "a new device is stopped");
        }
    }
    for (const QByteArray &name : fakempv::liveDeviceNames())
        check(send("close " + quoted(name), nullptr, 0) == mci::Err::None, "an open device closes by its name");
    check(mci::openDeviceCount() == 0, "no device is left open");
    check(::fchdir(g_home) == 0, "back to the working folder");
    return 0;
}
