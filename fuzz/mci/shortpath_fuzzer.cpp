// File names through the short-path look-up and on into the open command the player
// builds from it, with the stand-in player of fake_device.cpp.
//
// Input: a relative path ('/' separates folders, at most eight levels) that is made
// under a scratch folder, its last part as a small file. Then the target checks:
//   - a file whose path is valid UTF-8 always gets a short name;
//   - the look-up reports the size it needs and writes nothing into a buffer too small;
//   - the short name is one plain word (letters, digits, . _ - + /), starts with '/',
//     and the player's whole open command with it fits the 255-character field;
//   - it leads to the same file, the same name comes back on a second look-up, and the
//     open command built from it opens that file under the player's alias and no other.
#include "fake_device.h"
#include "mci/mci.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

QByteArray g_root;

bool plainWord(const char *text)
{
    if (*text != '/')
        return false;
    for (const char *p = text; *p; ++p) {
        const char c = *p;
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                        || c == '.' || c == '_' || c == '-' || c == '+' || c == '/';
        if (!ok)
            return false;
    }
    return true;
}

bool sameFile(const QByteArray &a, const QByteArray &b)
{
    struct stat sa {}, sb {};
    return ::stat(a.constData(), &sa) == 0 && ::stat(b.constData(), &sb) == 0 && sa.st_dev == sb.st_dev
           && sa.st_ino == sb.st_ino;
}

bool validUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && QFile::encodeName(text) == bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    g_root = QFile::encodeName(fakempv::scratchFolder(QStringLiteral("short")));
    QDir().mkpath(QFile::decodeName(g_root + "/files"));
    qputenv("XDG_RUNTIME_DIR", g_root + "/run");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> parts;
    for (const QByteArray &part : input.split('/')) {
        if (part.isEmpty() || part == "." || part == ".." || part.contains('\0') || part.size() > 255)
            continue;
        parts << part;
    }
    if (parts.isEmpty() || parts.size() > 8)
        return 0;

    // Made as folders and a file; a name the file system refuses ends the input here.
    QByteArray path = g_root + "/files";
    QList<QByteArray> made;
    bool ok = true;
    for (int i = 0; i < parts.size() && ok; ++i) {
        path += '/' + parts.at(i);
        if (i + 1 < parts.size()) {
            ok = ::mkdir(path.constData(), 0700) == 0;
        } else {
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
            ok = fd >= 0 && ::write(fd, "ID3", 3) == 3;
            if (fd >= 0)
                ::close(fd);
        }
        if (ok)
            made.prepend(path);
    }

    if (ok) {
        const unsigned long needed = mci::getShortPathName(path.constData(), nullptr, 0);
        if (validUtf8(path))
            check(needed > 1, "a file with a UTF-8 path gets a short name");
        if (needed > 1) {
            // One byte short: the size needed again, and nothing written.
            std::unique_ptr<char[]> tight(new char[needed - 1]);
            std::memset(tight.get(), 'x', needed - 1);
            check(mci::getShortPathName(path.constData(), tight.get(), needed - 1) == needed,
                  "a buffer too small gets the size needed");
            check(tight[0] == 'x', "nothing is written into a buffer too small");

            std::unique_ptr<char[]> exact(new char[needed]);
            check(mci::getShortPathName(path.constData(), exact.get(), needed) == needed - 1,
                  "a buffer of the size asked for takes the short name");
            check(std::strlen(exact.get()) == needed - 1, "the short name ends in its NUL");
            const QByteArray name(exact.get());
            check(plainWord(name.constData()), "the short name is one plain word");
            check(sameFile(name, path), "the short name leads to the file");

            char again[256];
            check(mci::getShortPathName(path.constData(), again, sizeof again) == needed - 1
                      && name == again,
                  "the same file gets the same short name");

            const QByteArray command = "open " + name + " type MPEGVideo Alias MP3Play";
            check(command.size() <= 255, "the open command fits its field");
            fakempv::forgetLastOpened();
            check(mci::sendString(command.constData(), nullptr, 0) == mci::Err::None, "the file opens");
            check(mci::openDeviceCount() == 1 && fakempv::liveDeviceNames() == QList<QByteArray>{"MP3Play"},
                  "one device, under the player's alias");
            check(sameFile(QFile::encodeName(fakempv::lastOpenedFile()), path), "the device holds the file");
            check(mci::sendString("close MP3Play", nullptr, 0) == mci::Err::None, "the device closes");
        }
    }
    for (const QByteArray &p : made)
        ::remove(p.constData());
    return 0;
}
