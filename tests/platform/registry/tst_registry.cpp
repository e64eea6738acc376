// The registry look-ups: the .reg text format, where the files are found, and the
// open / query / close calls with their result codes and byte counts.
#include "registry/registry.h"
#include "registry/regfile.h"
#include "support/sandbox.h"
#include <QtTest>

using namespace registry;

namespace {
const QByteArray MsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

struct Read {
    long result = -1;
    std::uint32_t type = 0xFFFF;
    std::uint32_t count = 0;
    QByteArray data;
};

// Opens `key` below HKEY_LOCAL_MACHINE and reads `name` into a buffer of `size` bytes
// filled with 'x', the way the About box does.
Read readValue(const QByteArray &key, const QByteArray &name, std::uint32_t size = 1024)
{
    Read r;
    Key handle = 0;
    r.result = openKey(HKEY_LOCAL_MACHINE, key, 0, 0x2003F, &handle);
    if (r.result != Result::Success)
        return r;
    QByteArray buffer(int(size), 'x');
    r.count = size;
    r.result = queryValue(handle, name, nullptr, &r.type,
                          reinterpret_cast<unsigned char *>(buffer.data()), &r.count);
    r.data = buffer;
    closeKey(handle);
    return r;
}

QByteArray utf16(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray hexList(const QByteArray &bytes)
{
    QStringList parts;
    for (char b : bytes)
        parts << QStringLiteral("%1").arg(uchar(b), 2, 16, QLatin1Char('0'));
    return parts.join(QLatin1Char(',')).toLatin1();
}
} // namespace

class TestRegistry : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;

    QString userFile() const { return sandbox.configHome() + "/tavolin/registry/HKEY_LOCAL_MACHINE.reg"; }
    QString systemFile() const
    {
        return sandbox.path() + "/system-config/tavolin/registry/HKEY_LOCAL_MACHINE.reg";
    }
    void writeUser(const QByteArray &text) { sandbox.writeFile(userFile(), text); }

private slots:
    void cleanup()
    {
        QFile::remove(userFile());
        QFile::remove(systemFile());
        QCOMPARE(openHandleCount(), 0);
    }

    void noFileMeansNoValues()
    {
        Key handle = 0;
        QCOMPARE(openKey(HKEY_LOCAL_MACHINE, MsInfoKey, 0, 0x2003F, &handle), Result::FileNotFound);
        QCOMPARE(handle, Key(0));
        QCOMPARE(readValue("SOFTWARE", "PATH").result, Result::FileNotFound);
    }

    void filesFollowTheConfigFolders()
    {
        const QStringList files = filesFor(HKEY_LOCAL_MACHINE);
        QCOMPARE(files.value(0), userFile());
        QCOMPARE(files.value(1), systemFile());
        QVERIFY(filesFor(0x12345678).isEmpty());

        const QByteArray saved = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", "");
        QCOMPARE(filesFor(HKEY_CURRENT_USER).value(1),
                 QStringLiteral("/etc/xdg/tavolin/registry/HKEY_CURRENT_USER.reg"));
        qputenv("XDG_CONFIG_DIRS", saved);
    }

    // Each row: file text, value name, expected result, type, byte count, bytes (prefix).
    void valueForms_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<long>("result");
        QTest::addColumn<uint>("type");
        QTest::addColumn<uint>("count");
        QTest::addColumn<QByteArray>("bytes");

        const QByteArray v5 = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\r\n";
        const QByteArray v4 = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n";

        QTest::newRow("text, count includes the NUL")
            << v5 + "\"PATH\"=\"/usr/bin/sysinfo --all\"\r\n" << QByteArray("PATH") << Result::Success
            << 1u << 23u << QByteArray("/usr/bin/sysinfo --all\0", 23);
        QTest::newRow("escaped backslashes and quotes")
            << v4 + "\"PATH\"=\"c:\\\\Tools\\\\\\\"si\\\".exe\"\n" << QByteArray("PATH") << Result::Success
            << 1u << 18u << QByteArray("c:\\Tools\\\"si\".exe\0", 18);
        QTest::newRow("empty text is one NUL")
            << v4 + "\"PATH\"=\"\"\n" << QByteArray("PATH") << Result::Success << 1u << 1u << QByteArray("\0", 1);
        QTest::newRow("names ignore case")
            << v4 + "\"Path\"=\"a\"\n" << QByteArray("pATH") << Result::Success << 1u << 2u << QByteArray("a\0", 2);
        QTest::newRow("default value")
            << v4 + "@=\"d\"\n" << QByteArray() << Result::Success << 1u << 2u << QByteArray("d\0", 2);
        QTest::newRow("dword 5")
            << v4 + "\"PATH\"=dword:00000005\n" << QByteArray("PATH") << Result::Success
            << 4u << 4u << QByteArray("\x05\0\0\0", 4);
        QTest::newRow("dword is little-endian")
            << v4 + "\"PATH\"=dword:0a0b0c0d\n" << QByteArray("PATH") << Result::Success
            << 4u << 4u << QByteArray("\x0d\x0c\x0b\x0a", 4);
        QTest::newRow("hex(2) in a version 5 file is UTF-16")
            << v5 + "\"PATH\"=hex(2):" + hexList(utf16(QStringLiteral("%SystemRoot%")) + QByteArray(2, '\0')) + "\r\n"
            << QByteArray("PATH") << Result::Success << 2u << 13u << QByteArray("%SystemRoot%\0", 13);
        QTest::newRow("hex(2) in a REGEDIT4 file is 8-bit")
            << v4 + "\"PATH\"=hex(2):25,57,25,00\n" << QByteArray("PATH") << Result::Success
            << 2u << 4u << QByteArray("%W%\0", 4);
        QTest::newRow("hex continued over lines")
            << v4 + "\"Bin\"=hex:01,02,\\\n  03,\\\n  04\n" << QByteArray("Bin") << Result::Success
            << 3u << 4u << QByteArray("\x01\x02\x03\x04", 4);
        QTest::newRow("hex(b) keeps its type")
            << v4 + "\"Q\"=hex(b):01,00,00,00,00,00,00,00\n" << QByteArray("Q") << Result::Success
            << 11u << 8u << QByteArray("\x01\0\0\0\0\0\0\0", 8);
        QTest::newRow("comments and blank lines")
            << v4 + "; a note\n\n\"PATH\"=\"p\"\n" << QByteArray("PATH") << Result::Success << 1u << 2u << QByteArray("p\0", 2);
        QTest::newRow("unreadable line skipped, next one read")
            << v4 + "\"PATH\"=dword:xyz\n\"PATH\"=\"ok\"\n" << QByteArray("PATH") << Result::Success
            << 1u << 3u << QByteArray("ok\0", 3);
        QTest::newRow("missing value") << v4 + "\"Other\"=\"p\"\n" << QByteArray("PATH") << Result::FileNotFound
                                       << 0xFFFFu << 1024u << QByteArray("xxxx");
        QTest::newRow("value removed later in the file")
            << v4 + "\"PATH\"=\"p\"\n\"PATH\"=-\n" << QByteArray("PATH") << Result::FileNotFound
            << 0xFFFFu << 1024u << QByteArray("xxxx");
        QTest::newRow("UTF-16 file with byte-order mark")
            << QByteArray("\xFF\xFE") + utf16(QString::fromLatin1(v5 + "\"PATH\"=\"u\"\r\n"))
            << QByteArray("PATH") << Result::Success << 1u << 2u << QByteArray("u\0", 2);
    }

    void valueForms()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, name);
        QFETCH(long, result);
        QFETCH(uint, type);
        QFETCH(uint, count);
        QFETCH(QByteArray, bytes);
        writeUser(file);
        const Read r = readValue(MsInfoKey, name);
        QCOMPARE(r.result, result);
        QCOMPARE(uint(r.type), type);
        QCOMPARE(uint(r.count), count);
        QCOMPARE(r.data.left(bytes.size()), bytes);
        if (result == Result::Success && r.count < 1024)
            QCOMPARE(r.data.at(int(r.count)), 'x');   // nothing written past the value
    }

    void headerIsRequired_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<bool>("read");
        QTest::newRow("REGEDIT4") << QByteArray("REGEDIT4") << true;
        QTest::newRow("version 5") << QByteArray("Windows Registry Editor Version 5.00") << true;
        QTest::newRow("none") << QByteArray("") << false;
        QTest::newRow("other") << QByteArray("[settings]") << false;
    }

    void headerIsRequired()
    {
        QFETCH(QByteArray, header);
        QFETCH(bool, read);
        writeUser(header + "\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n\"PATH\"=\"p\"\n");
        QCOMPARE(readValue(MsInfoKey, "PATH").result == Result::Success, read);
    }

    void bufferLimits_data()
    {
        QTest::addColumn<int>("length");   // characters before the NUL
        QTest::addColumn<long>("result");
        QTest::addColumn<uint>("count");
        QTest::newRow("fills the buffer exactly") << 1023 << Result::Success << 1024u;
        QTest::newRow("one byte over") << 1024 << Result::MoreData << 1025u;
        QTest::newRow("far over") << 3000 << Result::MoreData << 3001u;
    }

    void bufferLimits()
    {
        QFETCH(int, length);
        QFETCH(long, result);
        QFETCH(uint, count);
        writeUser("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n\"PATH\"=\"" + QByteArray(length, 'a') + "\"\n");
        const Read r = readValue(MsInfoKey, "PATH");
        QCOMPARE(r.result, result);
        QCOMPARE(uint(r.count), count);
        if (result == Result::MoreData)
            QCOMPARE(r.data, QByteArray(1024, 'x'));   // the buffer is left alone
    }

    void sizeOnlyQuery()
    {
        writeUser("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n\"PATH\"=\"abc\"\n");
        Key handle = 0;
        QCOMPARE(openKey(HKEY_LOCAL_MACHINE, MsInfoKey, 0, 0x2003F, &handle), Result::Success);
        std::uint32_t type = 0, count = 0;
        QCOMPARE(queryValue(handle, "PATH", nullptr, &type, nullptr, &count), Result::Success);
        QCOMPARE(type, 1u);
        QCOMPARE(count, 4u);
        closeKey(handle);
    }

    void keys()
    {
        writeUser("REGEDIT4\n"
                  "[HKEY_CURRENT_USER\\Software\\Elsewhere]\n\"PATH\"=\"wrong root\"\n"
                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n\"MSINFO\"=\"c:\\\\si\"\n");
        Key handle = 0;
        // Any case, stray backslashes, and a key that is only named through its subkey.
        QCOMPARE(openKey(HKEY_LOCAL_MACHINE, "software\\MICROSOFT\\\\shared tools location\\", 0, 0x2003F, &handle),
                 Result::Success);
        closeKey(handle);
        QCOMPARE(openKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft", 0, 0x2003F, &handle), Result::Success);
        Key sub = 0;
        QCOMPARE(openKey(handle, "Shared Tools Location", 0, 0x2003F, &sub), Result::Success);
        char buffer[16];
        std::uint32_t count = sizeof buffer, type = 0;
        QCOMPARE(queryValue(sub, "MSINFO", nullptr, &type, reinterpret_cast<unsigned char *>(buffer), &count),
                 Result::Success);
        QCOMPARE(QByteArray(buffer), QByteArray("c:\\si"));
        closeKey(sub);
        closeKey(handle);
        QCOMPARE(openKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared", 0, 0x2003F, &handle),
                 Result::FileNotFound);
        QCOMPARE(openKey(HKEY_LOCAL_MACHINE, "Software\\Elsewhere", 0, 0x2003F, &handle), Result::FileNotFound);
        QCOMPARE(openKey(HKEY_CURRENT_USER, "Software\\Elsewhere", 0, 0x2003F, &handle), Result::FileNotFound);
    }

    void handles()
    {
        QCOMPARE(closeKey(0), Result::InvalidHandle);
        QCOMPARE(closeKey(0x4242), Result::InvalidHandle);
        std::uint32_t count = 4;
        unsigned char buffer[4];
        QCOMPARE(queryValue(0x4242, "PATH", nullptr, nullptr, buffer, &count), Result::InvalidHandle);
        Key handle = 0;
        QCOMPARE(openKey(0x4242, "x", 0, 0, &handle), Result::InvalidHandle);

        writeUser("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n");
        QCOMPARE(openKey(HKEY_LOCAL_MACHINE, MsInfoKey, 0, 0x2003F, &handle), Result::Success);
        QCOMPARE(openHandleCount(), 1);
        QCOMPARE(closeKey(handle), Result::Success);
        QCOMPARE(closeKey(handle), Result::InvalidHandle);   // closed twice
    }

    // The user's file lies over the system one: it adds, overrides and removes.
    void userFileOverridesSystemFile()
    {
        sandbox.writeFile(systemFile(), "REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n"
                                        "\"PATH\"=\"system\"\n\"Kept\"=\"system\"\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n\"x\"=\"y\"\n");
        QCOMPARE(readValue(MsInfoKey, "PATH").data.left(7), QByteArray("system\0", 7));
        writeUser("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n\"PATH\"=\"user\"\n"
                  "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n");
        QCOMPARE(readValue(MsInfoKey, "PATH").data.left(5), QByteArray("user\0", 5));
        QCOMPARE(readValue(MsInfoKey, "Kept").result, Result::Success);
        QCOMPARE(readValue("SOFTWARE\\Gone", "x").result, Result::FileNotFound);
    }

    // An open key keeps what it read; the next open sees the edited file.
    void editsCountOnTheNextOpen()
    {
        writeUser("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n\"PATH\"=\"one\"\n");
        Key handle = 0;
        QCOMPARE(openKey(HKEY_LOCAL_MACHINE, MsInfoKey, 0, 0x2003F, &handle), Result::Success);
        writeUser("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n\"PATH\"=\"two\"\n");
        char buffer[8] = {};
        std::uint32_t count = sizeof buffer;
        queryValue(handle, "PATH", nullptr, nullptr, reinterpret_cast<unsigned char *>(buffer), &count);
        QCOMPARE(QByteArray(buffer), QByteArray("one"));
        closeKey(handle);
        QCOMPARE(readValue(MsInfoKey, "PATH").data.left(4), QByteArray("two\0", 4));
    }

    // A long binary value continued over half a million lines, one byte a line, and
    // the value after it: both read whole. Joining the lines once cost time in the
    // square of their number, hanging the open for hours on such a file.
    void longValueOverManyLines()
    {
        constexpr int Lines = 500000;
        QByteArray text = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + MsInfoKey + "]\n\"Blob\"=hex:\\\n";
        text.reserve(text.size() + Lines * 5 + 64);
        QByteArray expected;
        for (int i = 0; i < Lines; ++i) {
            const char b = char(i % 251);
            text += QByteArray::number(uchar(b), 16).rightJustified(2, '0') + ",\\\n";
            expected += b;
        }
        text += "  ff\n\"PATH\"=\"after\"\n";
        expected += char(0xff);
        writeUser(text);

        const Read r = readValue(MsInfoKey, "Blob", std::uint32_t(expected.size()));
        QCOMPARE(r.result, Result::Success);
        QCOMPARE(r.type, Type::Binary);
        QCOMPARE(int(r.count), expected.size());
        QVERIFY(r.data == expected);
        QCOMPARE(readValue(MsInfoKey, "PATH").data.left(6), QByteArray("after\0", 6));
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
