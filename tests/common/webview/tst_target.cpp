// How a Navigate target is read: empty page, local folder or web address.
#include "support/sandbox.h"
#include "webview/target.h"
#include <QtTest>

class TestTarget : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;

private slots:
    void classify_data();
    void classify();
    void textKeptAsGiven();
};

void TestTarget::classify_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("url");   // for web targets: the address loaded; "invalid" when malformed

    const int Empty = webview::Target::Empty, Web = webview::Target::Web, Folder = webview::Target::Folder;
    QTest::newRow("empty") << "" << Empty << "";
    QTest::newRow("blanks only") << "   " << Empty << "";
    QTest::newRow("bare host") << "www.brambleton.example" << Web << "http://www.brambleton.example";
    QTest::newRow("bare host with port and path") << "127.0.0.1:8080/a?b=1" << Web << "http://127.0.0.1:8080/a?b=1";
    QTest::newRow("localhost") << "localhost" << Web << "http://localhost";
    QTest::newRow("http kept") << "http://www.google.com" << Web << "http://www.google.com";
    QTest::newRow("closing slash kept") << "http://translate.google.com/" << Web << "http://translate.google.com/";
    QTest::newRow("https kept") << "https://www.example.org/x" << Web << "https://www.example.org/x";
    QTest::newRow("surrounding blanks") << "  www.yahoo.com  " << Web << "http://www.yahoo.com";
    QTest::newRow("about page") << "about:blank" << Web << "about:blank";
    QTest::newRow("chrome page") << "chrome://crash" << Web << "chrome://crash";
    QTest::newRow("blank inside host") << "http://exa mple.org" << Web << "invalid";
    QTest::newRow("bad port") << "foo:bar" << Web << "invalid";
    QTest::newRow("scheme only") << "http://" << Web << "nohost";
    QTest::newRow("drive folder") << "c:/Tavolin/Internet" << Folder << "";
    QTest::newRow("drive folder, backslashes, capital") << "C:\\Tavolin\\Gaming" << Folder << "";
    QTest::newRow("drive root") << "d:" << Folder << "";
}

void TestTarget::classify()
{
    QFETCH(QString, target);
    QFETCH(int, kind);
    QFETCH(QString, url);
    const webview::Target t = webview::classify(target);
    QCOMPARE(int(t.kind), kind);
    if (kind != webview::Target::Web)
        return;
    if (url == QLatin1String("invalid"))
        QVERIFY2(!t.url.isValid(), qPrintable(t.url.toString()));
    else if (url == QLatin1String("nohost"))
        QVERIFY(t.url.host().isEmpty());
    else
        QCOMPARE(t.url.toString(), url);
}

void TestTarget::textKeptAsGiven()
{
    QCOMPARE(webview::classify(QStringLiteral(" www.yahoo.com ")).text, QStringLiteral(" www.yahoo.com "));
    const webview::Target folder = webview::classify(QStringLiteral("c:/Tavolin/Internet"));
    QCOMPARE(folder.folder, sandbox.dataHome() + QStringLiteral("/tavolin/drives/c/Tavolin/Internet"));
}

QTEST_GUILESS_MAIN(TestTarget)
#include "tst_target.moc"
