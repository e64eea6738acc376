// The MarketPlace window on the maker's market page. Every request goes to a local
// stand-in for the web, set as the program's HTTP proxy on 127.0.0.1, so the page's
// real address is used and nothing leaves the machine.
#include "httpserver.h"
#include "launcher/form1.h"
#include "launcher/form6.h"
#include "launcher/program.h"
#include "support/sandbox.h"
#include "support/windows.h"
#include "webview/webbrowser.h"
#include <QNetworkProxy>
#include <QtTest>

using namespace launcher;

namespace {
const QByteArray Market = "http://www.brambleton.example/market/";

Form6 *openMarket() { return tavtest::openWindow<Form6>(); }
} // namespace

class TestMarketPlace : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;   // first: the engine keeps its profile under $HOME
    tavtest::HttpServer web;   // the stand-in for the web, as the program's proxy
    QPointer<Form1> main;

    Form6 *openFromPanel()
    {
        QTest::mouseClick(main->Image7, Qt::LeftButton);
        QTest::mouseClick(main->Label5, Qt::LeftButton);
        return openMarket();
    }

private slots:
    void initTestCase()
    {
        QNetworkProxy::setApplicationProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), web.port()));
        forms::setProgram(programInfo());
        forms::Form::setModalShowBlocks(false);
    }

    void init()
    {
        web.requests.clear();
        web.releaseAll();
        main = new Form1;
        main->showModeless();
    }

    void cleanup()
    {
        if (Form6 *f = openMarket())
            f->unload();
        if (main)
            main->unload();
        QTRY_VERIFY(!main);
    }

    void opensOnTheMarketPage()
    {
        Form6 *f = openFromPanel();
        QVERIFY(f);
        QVERIFY(f->isShownModally());
        QCOMPARE(f->caption(), QStringLiteral("Tavolin Online MarketPlace"));
        QCOMPARE(f->size(), QSize(370, 388));   // 5550 x 5820 twips
        QCOMPARE(f->WebBrowser1->currentTarget(), QString::fromLatin1(Market));
        QTRY_COMPARE_WITH_TIMEOUT(web.count(Market), 1, 20000);
        QSignalSpy finished(f->WebBrowser1, &webview::WebBrowser::loadFinished);
        QTRY_VERIFY_WITH_TIMEOUT(f->WebBrowser1->currentUrl() == QUrl(QString::fromLatin1(Market)), 10000);
    }

    void refreshRequestsThePageAgain()
    {
        Form6 *f = openFromPanel();
        QVERIFY(f);
        QSignalSpy finished(f->WebBrowser1, &webview::WebBrowser::loadFinished);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, 20000);
        QCOMPARE(web.count(Market), 1);
        f->Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(web.count(Market), 2, 10000);
        QCOMPARE(f->WebBrowser1->currentTarget(), QString::fromLatin1(Market));
    }

    void refreshBeforeThePageHasLoaded()
    {
        web.holdPath(QString::fromLatin1(Market));
        Form6 *f = openFromPanel();
        QVERIFY(f);
        QTRY_COMPARE_WITH_TIMEOUT(web.count(Market), 1, 20000);
        f->Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(web.count(Market), 2, 10000);
        // The buttons keep working while nothing answers.
        f->Command2->click();
        QTRY_VERIFY(!openMarket());
    }

    // Close returns to the main window with its panel still open; the next opening
    // starts at the market page again, not at a page reached from it.
    void closeAndReopen()
    {
        Form6 *f = openFromPanel();
        QVERIFY(f);
        QTRY_COMPARE_WITH_TIMEOUT(web.count(Market), 1, 20000);
        f->WebBrowser1->Navigate(QString::fromLatin1(Market) + "specials.html");   // a page followed from it
        QTRY_COMPARE_WITH_TIMEOUT(web.count(Market + "specials.html"), 1, 10000);
        f->Command2->click();
        QTRY_VERIFY(!openMarket());
        QVERIFY(main->Frame1->isVisible());

        QTest::mouseClick(main->Label5, Qt::LeftButton);
        Form6 *again = openMarket();
        QVERIFY(again);
        QCOMPARE(again->WebBrowser1->currentTarget(), QString::fromLatin1(Market));
        QCOMPARE(again->WebBrowser1->historyCount(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(web.count(Market), 2, 10000);
        again->close();   // the close box does the same
        QTRY_VERIFY(!openMarket());
        QVERIFY(main->Frame1->isVisible());
    }
};

int main(int argc, char **argv)
{
    webview::WebBrowser::prepareApplication();
    QApplication app(argc, argv);
    TestMarketPlace test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_marketplace.moc"
