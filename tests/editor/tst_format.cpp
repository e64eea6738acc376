// The document file format: what is written, and how any file is read back.
#include "editor/docformat.h"
#include "editor/documentfile.h"
#include <QTemporaryDir>
#include <QtTest>

using namespace editor;

namespace {
QByteArray write(const QString &text)
{
    const std::string bytes = format::writeDocument(
        std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size())));
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}
QByteArray fields(const QByteArray &file)
{
    const std::string out = format::readFields(std::string_view(file.constData(), size_t(file.size())));
    return QByteArray(out.data(), qsizetype(out.size()));
}
} // namespace

class TestFormat : public QObject {
    Q_OBJECT
private slots:
    void writesOneQuotedField_data();
    void writesOneQuotedField();
    void readsDelimitedFields_data();
    void readsDelimitedFields();
    void roundTripAddsOneLineEnd();
    void decodesWindows1252();
    void unrepresentableCharactersAreCounted_data();
    void unrepresentableCharactersAreCounted();
    void writerTakesTextInPieces();
    void largeHostileInputs();
    void fileReadErrors();
    void atomicWrite();
};

void TestFormat::writesOneQuotedField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty document") << QString() << QByteArray("\"\"\r\n", 4);
    QTest::newRow("one line") << QStringLiteral("abc") << QByteArray("\"abc\"\r\n");
    QTest::newRow("line breaks become CR LF") << QStringLiteral("a\nb\n") << QByteArray("\"a\r\nb\r\n\"\r\n");
    QTest::newRow("CR LF stays one break") << QStringLiteral("a\r\nb") << QByteArray("\"a\r\nb\"\r\n");
    QTest::newRow("paragraph separator") << QStringLiteral("a\u2029b") << QByteArray("\"a\r\nb\"\r\n");
    QTest::newRow("quotes unescaped") << QStringLiteral("say \"hi\"") << QByteArray("\"say \"hi\"\"\r\n");
    QTest::newRow("code page") << QStringLiteral("\u20AC caf\u00E9 \u2014")
                               << QByteArray("\"\x80 caf\xE9 \x97\"\r\n");
    QTest::newRow("NUL kept") << QString(QChar(0)) << QByteArray("\"\0\"\r\n", 5);
}

void TestFormat::writesOneQuotedField()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(write(text), bytes);
}

void TestFormat::readsDelimitedFields_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty file") << QByteArray() << QByteArray();
    QTest::newRow("empty document") << QByteArray("\"\"\r\n") << QByteArray("\r\n");
    QTest::newRow("saved text") << QByteArray("\"abc\"\r\n") << QByteArray("abc\r\n");
    QTest::newRow("commas with blanks") << QByteArray("one , two ,  three\r\n")
                                        << QByteArray("one\r\ntwo\r\nthree\r\n");
    QTest::newRow("multi-line quoted field") << QByteArray("\"first\r\nsecond, still\r\n\"\r\n")
                                             << QByteArray("first\r\nsecond, still\r\n\r\n");
    QTest::newRow("quote inside the text") << QByteArray("\"say \"hi\" now\"\r\n")
                                           << QByteArray("say hi\" now\"\r\n");
    QTest::newRow("quote then comma") << QByteArray("\"a \"b, c\"\r\n") << QByteArray("a b\r\nc\"\r\n");
    QTest::newRow("blanks before a quote") << QByteArray("   \"x y\"  \r\n") << QByteArray("x y\r\n");
    QTest::newRow("no final line end") << QByteArray("plain") << QByteArray("plain\r\n");
    QTest::newRow("unterminated quote") << QByteArray("\"runs, on\r\nto the end")
                                        << QByteArray("runs, on\r\nto the end\r\n");
    QTest::newRow("lone quote") << QByteArray("\"") << QByteArray("\r\n");
    QTest::newRow("lone LF lines") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("lone CR lines") << QByteArray("a\rb") << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty lines and fields") << QByteArray("\r\n,\r\n") << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("only blanks") << QByteArray("   ") << QByteArray("\r\n");
    QTest::newRow("NUL bytes") << QByteArray("a\0b,\"\0\"", 7) << QByteArray("a\0b\r\n\0\r\n", 8);
    QTest::newRow("numbers and dates as text") << QByteArray("1.50 , #2001-01-01#")
                                               << QByteArray("1.50\r\n#2001-01-01#\r\n");
}

void TestFormat::readsDelimitedFields()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);
    QCOMPARE(fields(file), text);
    QVERIFY(size_t(fields(file).size()) <= format::maxFieldsSize(size_t(file.size())));
}

void TestFormat::roundTripAddsOneLineEnd()
{
    // Each save and open of the same document adds one line end.
    QString text = QStringLiteral("first line\nsecond line");
    for (int round = 1; round <= 3; ++round) {
        text = decodeDocument(write(text));
        QCOMPARE(text, QStringLiteral("first line\nsecond line") + QString(round, QLatin1Char('\n')));
    }
}

void TestFormat::decodesWindows1252()
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        if (b != '"' && b != ',' && b != '\r' && b != '\n' && b != ' ')
            all.append(char(b));
    const QString text = decodeDocument("\"" + all + "\"");
    QCOMPARE(text.size(), all.size() + 1);
    QCOMPARE(text.at(all.indexOf('\x80')), QChar(0x20AC));
    QVERIFY(text.contains(QChar(0x0081)));                  // undefined: the control of the same number
    QVERIFY(text.contains(QChar(0x0178)));                  // 0x9F
    QVERIFY(text.contains(QChar(0x00FF)));
    // Every character decoded comes back as its byte.
    QCOMPARE(write(text.chopped(1)), "\"" + all + "\"\r\n");
}

void TestFormat::unrepresentableCharactersAreCounted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addColumn<uint>("first");
    QTest::addColumn<int>("line");
    QTest::newRow("none") << QStringLiteral("plain \u00E9") << QByteArray("\"plain \xE9\"\r\n") << 0 << 0u << 0;
    QTest::newRow("Greek") << QStringLiteral("a\n\u03B1\u03B2") << QByteArray("\"a\r\n??\"\r\n") << 2 << 0x3B1u << 2;
    QTest::newRow("pair is one character") << QStringLiteral("x\U0001F600y") << QByteArray("\"x?y\"\r\n") << 1
                                           << 0x1F600u << 1;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("\"?\"\r\n") << 1 << 0xD800u << 1;
}

void TestFormat::unrepresentableCharactersAreCounted()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(uint, first);
    QFETCH(int, line);
    format::Writer writer;
    writer.append(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size())));
    const std::string out = writer.finish();
    QCOMPARE(QByteArray(out.data(), qsizetype(out.size())), bytes);
    QCOMPARE(int(writer.unrepresentable()), count);
    QCOMPARE(uint(writer.firstUnrepresentable()), first);
    QCOMPARE(int(writer.firstUnrepresentableLine()), line);
}

void TestFormat::writerTakesTextInPieces()
{
    // A surrogate pair and a CR LF split across pieces are still one character, one break.
    const QString text = QStringLiteral("a\U0001F600b\r\nc");
    format::Writer writer;
    for (QChar c : text)
        writer.append(std::u16string_view(reinterpret_cast<const char16_t *>(&c), 1));
    const std::string out = writer.finish();
    QCOMPARE(QByteArray(out.data(), qsizetype(out.size())), QByteArray("\"a?b\r\nc\"\r\n"));
    QCOMPARE(int(writer.unrepresentable()), 1);
}

void TestFormat::largeHostileInputs()
{
    // Worst cases for the reader's size and shape: one pass, no crash, bounded output.
    const qsizetype size = 8 * 1024 * 1024;
    const QByteArray cases[] = {QByteArray(size, ','), QByteArray(size, '"'), QByteArray(size, '\r'),
                                QByteArray(size, ' '), QByteArray(size, '\0'), "\"" + QByteArray(size, 'x')};
    for (const QByteArray &file : cases) {
        const QByteArray out = fields(file);
        QVERIFY(size_t(out.size()) <= format::maxFieldsSize(size_t(file.size())));
        QVERIFY(out.endsWith("\r\n"));
    }
}

void TestFormat::fileReadErrors()
{
    QTemporaryDir dir;
    ReadResult missing = readDocumentFile(dir.filePath(QStringLiteral("missing.qlt")));
    QVERIFY(!missing.ok);
    QVERIFY(!missing.error.isEmpty());
    ReadResult folder = readDocumentFile(dir.path());
    QVERIFY(!folder.ok);
    QVERIFY(!folder.error.isEmpty());
}

void TestFormat::atomicWrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.qlt"));
    QVERIFY(writeFileAtomically(path, "old").ok);
    QVERIFY(writeFileAtomically(path, "new content").ok);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("new content"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("doc.qlt")});   // no leftovers

    // A name that cannot be created fails, and says why.
    const WriteResult bad = writeFileAtomically(path + QStringLiteral("/below-a-file.qlt"), "x");
    QVERIFY(!bad.ok);
    QVERIFY(!bad.error.isEmpty());
    const WriteResult onFolder = writeFileAtomically(dir.path(), "x");
    QVERIFY(!onFolder.ok);
}

QTEST_GUILESS_MAIN(TestFormat)
#include "tst_format.moc"
