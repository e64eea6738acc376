// Any bytes as the user's HKEY_LOCAL_MACHINE.reg, laid over a fixed system-wide file,
// then read back through the registry calls the programs make.
//
// For every key the input names (and a few fixed ones) and every value such a key
// holds, plus the default value and a missing one, the target checks:
//   - open answers Success exactly when the key exists, in any case and step by step;
//   - a size query gives the type and size; a buffer of exactly that size gets the
//     value, a text ending in its NUL; a buffer one byte short gets MoreData with the
//     size needed and is left alone; a larger buffer is not written past the value;
//   - the result codes are the documented ones, and every handle closes once;
//   - reading a file twice over itself changes nothing.
#include "registry/regfile.h"
#include "registry/registry.h"
#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>

using namespace registry;

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

const char SystemFile[] =
    "REGEDIT4\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\r\n"
    "\"MSINFO\"=\"c:\\\\Program Files\\\\Common Files\\\\MSINFO\"\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\r\n"
    "\"PATH\"=\"c:\\\\Program Files\\\\Common Files\\\\MSINFO\\\\MSINFO32.EXE\"\r\n"
    "@=\"default\"\r\n"
    "\"Count\"=dword:0000002a\r\n"
    "\"Blob\"=hex:01,02,03\r\n"
    "\"Empty\"=hex:\r\n"
    "\"List\"=hex(7):61,00,62,00,00\r\n";

QString g_userFile;

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "scratch file");
    file.write(content);
}

// Where the input names keys: every "[...]" line, read as the reader decodes files.
QString decoded(const QByteArray &content)
{
    if (content.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(content.mid(2));
    if (content.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(content.mid(2));
    return QString::fromUtf8(content);
}

QStringList candidateKeys(const QByteArray &content)
{
    QSet<QString> keys{QString(), QStringLiteral("software"), QStringLiteral("software\\microsoft\\shared tools\\msinfo")};
    const QString text = decoded(content);
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (!line.startsWith(QLatin1Char('[')) || !line.endsWith(QLatin1Char(']')))
            continue;
        QString path = line.mid(1, line.size() - 2);
        if (path.startsWith(QLatin1Char('-')))
            path.remove(0, 1);
        const int slash = path.indexOf(QLatin1Char('\\'));
        keys.insert(slash < 0 ? QString() : path.mid(slash + 1));
        if (keys.size() >= 8)
            break;
    }
    return QStringList(keys.cbegin(), keys.cend());
}

// Names reach the calls in the 8-bit code page: one that does not survive the trip
// there and back (a lone UTF-16 surrogate, say) names something else there.
bool survives8Bit(const QString &name) { return QString::fromLocal8Bit(name.toLocal8Bit()) == name; }

bool sameValues(const QMap<QString, Value> &a, const QMap<QString, Value> &b)
{
    if (a.keys() != b.keys())
        return false;
    for (auto it = a.cbegin(); it != a.cend(); ++it) {
        const Value &v = b[it.key()];
        if (v.type != it->type || v.text != it->text || v.bytes != it->bytes)
            return false;
    }
    return true;
}

void checkValue(Key key, const QByteArray &name, bool present)
{
    std::uint32_t type = 0xdead, size = 0xdead;
    const long r = queryValue(key, name, nullptr, &type, nullptr, &size);
    check(r == Result::Success || r == Result::FileNotFound, "a size query succeeds or finds nothing");
    check((r == Result::Success) == present, "a value is found exactly when the key holds it");
    std::uint32_t reserved = 0, count = 4;
    unsigned char one[4];
    check(queryValue(key, name, &reserved, nullptr, one, &count) == Result::InvalidParameter,
          "a reserved pointer is refused");
    check(queryValue(key, name, nullptr, nullptr, one, nullptr) == Result::InvalidParameter || !present,
          "a buffer without a size is refused");
    if (r != Result::Success)
        return;
    const bool text = type == Type::Text || type == Type::ExpandText || type == Type::MultiText;
    check(!text || size >= 1, "a text has at least its NUL");

    // Exactly the size asked for; ASan sees any byte written beyond it.
    std::unique_ptr<unsigned char[]> exact(new unsigned char[size ? size : 1]);
    std::uint32_t exactType = 0xdead, exactCount = size;
    check(queryValue(key, name, nullptr, &exactType, exact.get(), &exactCount) == Result::Success,
          "a buffer of the size asked for takes the value");
    check(exactCount == size && exactType == type, "the size and type do not change");
    check(!text || exact[size - 1] == 0, "a text ends in its NUL");

    if (size > 0) {
        std::unique_ptr<unsigned char[]> shortBuffer(new unsigned char[size - 1 ? size - 1 : 1]);
        std::memset(shortBuffer.get(), 0xA5, size - 1 ? size - 1 : 1);
        std::uint32_t shortCount = size - 1;
        check(queryValue(key, name, nullptr, nullptr, shortBuffer.get(), &shortCount) == Result::MoreData,
              "a buffer one byte short gets MoreData");
        check(shortCount == size, "MoreData gives the size needed");
        for (std::uint32_t i = 0; i < (size - 1 ? size - 1 : 1); ++i)
            check(shortBuffer[i] == 0xA5, "a buffer too small is left alone");
    }

    std::unique_ptr<unsigned char[]> large(new unsigned char[size + 8]);
    std::memset(large.get(), 0xA5, size + 8);
    std::uint32_t largeCount = size + 8;
    check(queryValue(key, name, nullptr, nullptr, large.get(), &largeCount) == Result::Success,
          "a larger buffer takes the value");
    check(largeCount == size, "the size is the value's own");
    check(std::memcmp(large.get(), exact.get(), size) == 0, "the same value every time");
    for (std::uint32_t i = size; i < size + 8; ++i)
        check(large[i] == 0xA5, "nothing is written past the value");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const QString root = QDir::tempPath() + QStringLiteral("/tavolin-fuzz-registry-%1").arg(::getpid());
    QDir(root).removeRecursively();
    QDir().mkpath(root + QStringLiteral("/home/tavolin/registry"));
    QDir().mkpath(root + QStringLiteral("/system/tavolin/registry"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root + QStringLiteral("/system")));
    writeFile(root + QStringLiteral("/system/tavolin/registry/HKEY_LOCAL_MACHINE.reg"), SystemFile);
    g_userFile = root + QStringLiteral("/home/tavolin/registry/HKEY_LOCAL_MACHINE.reg");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    writeFile(g_userFile, content);

    // What the calls should see: the system file with the user's laid over it.
    Hive expected;
    expected.merge(SystemFile, QStringLiteral("HKEY_LOCAL_MACHINE"));
    expected.merge(content, QStringLiteral("HKEY_LOCAL_MACHINE"));
    Hive twice = expected;
    twice.merge(content, QStringLiteral("HKEY_LOCAL_MACHINE"));

    int opened = 0;
    for (const QString &path : candidateKeys(content)) {
        check(expected.hasKey(path) == twice.hasKey(path)
                  && sameValues(expected.values(path), twice.values(path)),
              "reading a file twice over itself changes nothing");
        if (!survives8Bit(path))
            continue;
        Key handle = 0;
        const long r = openKey(HKEY_LOCAL_MACHINE, path.toLocal8Bit(), 0, 0x2003F, &handle);
        check(r == Result::Success || r == Result::FileNotFound, "open succeeds or finds nothing");
        check((r == Result::Success) == expected.hasKey(path), "open succeeds exactly for a key that exists");
        if (r != Result::Success)
            continue;

        // Each open reads the files again: the other spellings are tried on a few keys only.
        if (++opened <= 3) {
            Key upper = 0;
            check(openKey(HKEY_LOCAL_MACHINE, path.toUpper().toLocal8Bit(), 0, 0, &upper) == Result::Success
                      || path.toUpper().toLower() != path.toLower(),
                  "keys open in any case");
            if (upper)
                check(closeKey(upper) == Result::Success, "a handle closes");
            const int slash = path.indexOf(QLatin1Char('\\'));
            if (slash > 0) {
                Key parent = 0, child = 0;
                check(openKey(HKEY_LOCAL_MACHINE, path.left(slash).toLocal8Bit(), 0, 0, &parent) == Result::Success,
                      "the key's parent opens");
                check(openKey(parent, path.mid(slash + 1).toLocal8Bit(), 0, 0, &child) == Result::Success,
                      "the key opens below its parent");
                check(closeKey(child) == Result::Success && closeKey(parent) == Result::Success, "handles close");
            }
        }

        const QMap<QString, Value> values = expected.values(path);
        int n = 0;
        for (auto it = values.cbegin(); it != values.cend() && n < 12; ++it, ++n)
            checkValue(handle, it.key().toLocal8Bit(), survives8Bit(it.key()));
        checkValue(handle, QByteArray(), values.contains(QString()));
        checkValue(handle, "no such value", values.contains(QStringLiteral("no such value")));
        if (path.isEmpty())
            checkValue(HKEY_LOCAL_MACHINE, QByteArray(), values.contains(QString()));
        check(closeKey(handle) == Result::Success, "a handle closes");
        check(closeKey(handle) == Result::InvalidHandle, "a handle closes once");
    }
    check(openHandleCount() == 0, "every handle is closed");
    return 0;
}
