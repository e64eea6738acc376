// The web view showing web pages, served on 127.0.0.1: addresses with and without a
// scheme, empty, malformed and unreachable targets, Back/Forward across pages and
// folders, Refresh, Stop and a renderer that dies.
#include "httpserver.h"
#include "support/sandbox.h"
#include "webview/folderview.h"
#include "webview/webbrowser.h"
#include <QtTest>
#include <QApplication>
#include <QLabel>
#include <QNetworkProxy>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <csignal>

class TestWeb : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;   // first: the engine keeps its profile under $HOME
    tavtest::HttpServer server;
    QWidget *window = nullptr;
    webview::WebBrowser *view = nullptr;

    bool navigateAndWait(const QString &target, bool expectOk = true);
    bool waitForPage(const QString &path);
    QString pageText();
    // A user's click on the page's link (the engine takes Back more seriously from
    // pages the user moved on from than from ones a script moved on from).
    void clickLink(QPoint at = QPoint(40, 40))
    {
        QWidget *page = view->engine()->focusProxy();
        QVERIFY(page);
        // The page must have been laid out and drawn before it can be clicked.
        QVERIFY(QTest::qWaitFor([this] { return !view->engine()->page()->contentsSize().isEmpty(); }, 5000));
        QTest::mouseMove(page, at);
        QTest::mouseClick(page, Qt::LeftButton, {}, at);
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void loadsPage_data();
    void loadsPage();
    void failedTargets_data();
    void failedTargets();
    void pageAskedForBeforeWindowIsShown();
    void emptyTarget();
    void backAndForwardWithNothingThere();
    void historyAcrossFoldersAndPages();
    void linkInsidePageDropsWhatLayAhead();
    void linkToNewWindowOpensHere();
    void refreshAndStop();
    void rendererCrashRecovers_data();
    void rendererCrashRecovers();
    void rendererThatKeepsCrashing();
};

bool TestWeb::navigateAndWait(const QString &target, bool expectOk)
{
    QSignalSpy finished(view, &webview::WebBrowser::loadFinished);
    view->Navigate(target);
    if (!finished.wait(10000))
        return false;
    return finished.last().at(0).toBool() == expectOk;
}

bool TestWeb::waitForPage(const QString &path)
{
    // The engine's committed page (not an address still loading) and its title.
    static const QHash<QString, QString> titles{{QStringLiteral("/a"), QStringLiteral("Page A")},
                                               {QStringLiteral("/a2"), QStringLiteral("Page A2")},
                                               {QStringLiteral("/b"), QStringLiteral("Page B")}};
    const QUrl url(server.url(path));
    const bool ok = QTest::qWaitFor([&] {
        QWebEngineView *engine = view->engine();
        return engine && engine->history()->currentItem().url() == url && view->currentUrl() == url
               && engine->title() == titles.value(path) && !engine->page()->isLoading();
    }, 10000);
    if (!ok && view->engine()) {
        QWebEngineView *engine = view->engine();
        qWarning() << "expected" << url << "history item" << engine->history()->currentItemIndex()
                   << engine->history()->currentItem().url() << "of" << engine->history()->count()
                   << "shown" << view->currentUrl() << engine->title() << engine->page()->isLoading();
    }
    return ok;
}

QString TestWeb::pageText()
{
    QString text;
    bool done = false;
    view->engine()->page()->toPlainText([&](const QString &t) {
        text = t;
        done = true;
    });
    QTest::qWaitFor([&] { return done; }, 5000);
    return text;
}

void TestWeb::initTestCase()
{
    server.setTitledPage(QStringLiteral("/a"), QStringLiteral("Page A"),
                         QStringLiteral("<a id='link' href='/a2' style='display:block;height:300px'>on to A2</a>"
                                        "<a id='other' href='/b' target='_blank' style='display:block;height:300px'>B</a>"));
    server.setTitledPage(QStringLiteral("/a2"), QStringLiteral("Page A2"));
    server.setTitledPage(QStringLiteral("/b"), QStringLiteral("Page B"));
    server.holdPath(QStringLiteral("/slow"));
    sandbox.makeDriveFolder(QStringLiteral("c"), QStringLiteral("Web/Folder"));
    // Anything that is not on 127.0.0.1 goes to the local server acting as a proxy:
    // nothing a test asks for leaves the machine.
    QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"),
                                                     server.port()));
}

void TestWeb::init()
{
    window = new QWidget;
    view = new webview::WebBrowser(window, QStringLiteral("WebBrowser1"), {0, 0, 9000, 6000});
    window->resize(600, 400);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestWeb::cleanup()
{
    delete window;
    window = nullptr;
}

void TestWeb::loadsPage_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("full address") << server.url(QStringLiteral("/a"));
    QTest::newRow("host first, no scheme") << server.bareUrl(QStringLiteral("/a"));
    QTest::newRow("blanks around") << QStringLiteral("  ") + server.bareUrl(QStringLiteral("/a")) + QStringLiteral(" ");
}

void TestWeb::loadsPage()
{
    QFETCH(QString, target);
    QVERIFY2(!view->hasEngine(), "the engine starts only when a page is asked for");
    const int before = server.count("/a");
    QSignalSpy navigated(view, &webview::WebBrowser::navigated);
    QVERIFY(navigateAndWait(target));
    QCOMPARE(navigated.count(), 1);
    QCOMPARE(navigated.at(0).at(0).toString(), target);
    QCOMPARE(view->currentTarget(), target);
    QCOMPARE(view->currentUrl(), QUrl(server.url(QStringLiteral("/a"))));
    QCOMPARE(view->engine()->title(), QStringLiteral("Page A"));
    QVERIFY(view->engine()->isVisible());
    QCOMPARE(server.count("/a"), before + 1);
}

void TestWeb::failedTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("loads");        // what loadFinished says
    QTest::addColumn<QString>("shows");     // text on the page shown instead
    QTest::newRow("unreachable") << "http://127.0.0.1:1/nothing" << false << "";
    QTest::newRow("blank in host") << "http://exa mple.org" << true << "This address is not valid";
    QTest::newRow("scheme without host") << "http://" << true << "This address is not valid";
    QTest::newRow("bad port") << "foo:bar" << true << "This address is not valid";
    QTest::newRow("markup in address") << "http://<b>x</b> y" << true << "<b>x</b>";
}

void TestWeb::failedTargets()
{
    QFETCH(QString, target);
    QFETCH(bool, loads);
    QFETCH(QString, shows);
    QVERIFY(navigateAndWait(target, loads));
    QCOMPARE(view->currentTarget(), target);
    QVERIFY(view->engine()->isVisible());
    if (!shows.isEmpty())
        QVERIFY2(pageText().contains(shows), qPrintable(pageText()));
    // The view carries on.
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/b"))));
    QCOMPARE(view->engine()->title(), QStringLiteral("Page B"));
    view->GoBack();
    QTRY_COMPARE(view->currentTarget(), target);
}

void TestWeb::pageAskedForBeforeWindowIsShown()
{
    // As a window's Load does it: the window paints first, then the engine starts.
    auto *hidden = new QWidget;
    auto *early = new webview::WebBrowser(hidden, QStringLiteral("WebBrowser1"), {0, 0, 9000, 6000});
    QSignalSpy finished(early, &webview::WebBrowser::loadFinished);
    early->Navigate(server.url(QStringLiteral("/b")));
    QCOMPARE(early->currentKind(), webview::Target::Web);
    QVERIFY(!early->hasEngine());
    hidden->resize(600, 400);
    hidden->show();
    QVERIFY(QTest::qWaitForWindowExposed(hidden));
    QVERIFY(finished.wait(10000));
    QCOMPARE(early->engine()->title(), QStringLiteral("Page B"));
    delete hidden;
}

void TestWeb::emptyTarget()
{
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/a"))));
    view->Navigate(QString());
    QCOMPARE(view->currentKind(), webview::Target::Empty);
    QVERIFY(!view->engine()->isVisible());
    QVERIFY(view->findChild<QWidget *>(QStringLiteral("emptyPage"))->isVisible());
    view->GoBack();
    QVERIFY(view->engine()->isVisible());
    QVERIFY(waitForPage(QStringLiteral("/a")));
}

void TestWeb::backAndForwardWithNothingThere()
{
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/a"))));
    const int requests = server.count("/a");
    view->GoBack();
    view->GoForward();
    QTest::qWait(200);   // give a wrong navigation the chance to start
    QCOMPARE(view->historyIndex(), 0);
    QCOMPARE(view->currentUrl(), QUrl(server.url(QStringLiteral("/a"))));
    QCOMPARE(server.count("/a"), requests);
    QVERIFY(view->engine()->isVisible());
}

void TestWeb::historyAcrossFoldersAndPages()
{
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/a"))));
    QSignalSpy finished(view, &webview::WebBrowser::loadFinished);
    clickLink();
    QVERIFY(waitForPage(QStringLiteral("/a2")));
    view->Navigate(QStringLiteral("c:/Web/Folder"));
    QVERIFY(view->folderView()->isVisible());
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/b"))));

    const QString folder = sandbox.dataHome() + QStringLiteral("/tavolin/drives/c/Web/Folder");
    view->GoBack();
    QCOMPARE(view->currentFolder(), folder);
    QVERIFY(view->folderView()->isVisible());
    view->GoBack();   // the page last shown there, the one reached by the link
    QVERIFY(view->engine()->isVisible());
    QVERIFY(waitForPage(QStringLiteral("/a2")));
    view->GoBack();
    QVERIFY(waitForPage(QStringLiteral("/a")));
    view->GoBack();   // nothing earlier
    QTest::qWait(200);
    QCOMPARE(view->currentUrl(), QUrl(server.url(QStringLiteral("/a"))));
    view->GoForward();
    QVERIFY(waitForPage(QStringLiteral("/a2")));
    view->GoForward();
    QCOMPARE(view->currentFolder(), folder);
    view->GoForward();
    QVERIFY(waitForPage(QStringLiteral("/b")));
    view->GoForward();   // nothing later
    QTest::qWait(200);
    QCOMPARE(view->currentUrl(), QUrl(server.url(QStringLiteral("/b"))));
    QCOMPARE(view->historyIndex(), 2);
}

void TestWeb::linkInsidePageDropsWhatLayAhead()
{
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/a"))));
    view->Navigate(QStringLiteral("c:/Web/Folder"));
    view->GoBack();
    QVERIFY(waitForPage(QStringLiteral("/a")));
    clickLink();
    QVERIFY(waitForPage(QStringLiteral("/a2")));
    QCOMPARE(view->historyCount(), 1);
    view->GoForward();
    QTest::qWait(200);
    QCOMPARE(view->currentUrl(), QUrl(server.url(QStringLiteral("/a2"))));
    view->GoBack();
    QVERIFY(waitForPage(QStringLiteral("/a")));
}

void TestWeb::linkToNewWindowOpensHere()
{
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/a"))));
    clickLink(QPoint(40, 340));   // target="_blank"
    QVERIFY(waitForPage(QStringLiteral("/b")));
    QCOMPARE(view->historyCount(), 1);
    view->GoBack();
    QVERIFY(waitForPage(QStringLiteral("/a")));
}

void TestWeb::refreshAndStop()
{
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/b"))));
    const int requests = server.count("/b");
    QSignalSpy finished(view, &webview::WebBrowser::loadFinished);
    view->Refresh();
    QVERIFY(finished.wait(10000));
    QCOMPARE(server.count("/b"), requests + 1);

    // A page that never answers: Stop ends the wait.
    finished.clear();
    view->Navigate(server.url(QStringLiteral("/slow")));
    QTRY_COMPARE_WITH_TIMEOUT(server.count("/slow"), 1, 10000);
    view->Stop();
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.last().at(0).toBool(), false);
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/a"))));
}

void TestWeb::rendererCrashRecovers_data()
{
    QTest::addColumn<bool>("viaAddress");
    QTest::newRow("renderer killed") << false;
    QTest::newRow("chrome://crash typed") << true;
}

void TestWeb::rendererCrashRecovers()
{
    QFETCH(bool, viaAddress);
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/a"))));
    QSignalSpy gone(view->engine()->page(), &QWebEnginePage::renderProcessTerminated);
    QSignalSpy finished(view, &webview::WebBrowser::loadFinished);
    const int requests = server.count("/a");
    if (viaAddress)
        view->Navigate(QStringLiteral("chrome://crash"));
    else
        QCOMPARE(::kill(pid_t(view->engine()->page()->renderProcessPid()), SIGKILL), 0);
    QVERIFY(gone.wait(10000));
    // The view loads its page again in a new renderer.
    QTRY_COMPARE_WITH_TIMEOUT(server.count("/a"), requests + 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty() && finished.last().at(0).toBool(), 10000);
    QVERIFY(waitForPage(QStringLiteral("/a")));
    QVERIFY(pageText().contains(QStringLiteral("on to A2")));
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/b"))));
}

void TestWeb::rendererThatKeepsCrashing()
{
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/a"))));
    QWebEnginePage *page = view->engine()->page();
    QSignalSpy gone(page, &QWebEnginePage::renderProcessTerminated);
    for (int crash = 1; crash <= 3; ++crash) {
        QTRY_VERIFY_WITH_TIMEOUT(page->renderProcessPid() > 0, 10000);
        ::kill(pid_t(page->renderProcessPid()), SIGKILL);
        QTRY_COMPARE_WITH_TIMEOUT(gone.count(), crash, 10000);
    }
    // It is not loaded for ever: the view says what happened and stays usable.
    QTRY_VERIFY_WITH_TIMEOUT(pageText().contains(QStringLiteral("This page stopped working")), 10000);
    QVERIFY(navigateAndWait(server.url(QStringLiteral("/b"))));
    QCOMPARE(view->engine()->title(), QStringLiteral("Page B"));
}

int main(int argc, char **argv)
{
    webview::WebBrowser::prepareApplication();
    QApplication app(argc, argv);
    TestWeb test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_web.moc"
