// The browser window: its layout, the address box rules, every button, and the failures
// that must not end the program. Pages are served on 127.0.0.1; the quick links' outside
// sites are answered by the same local server acting as the engine's HTTP proxy, so the
// engine's own requests show which host and scheme each link asked for, and nothing
// leaves the machine.
#include "browser/form1.h"
#include "browser/program.h"
#include "httpserver.h"
#include "support/sandbox.h"
#include "webview/folderview.h"
#include <QtTest>
#include <QApplication>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QWebEnginePage>
#include <QWebEngineView>

using browser::Form1;

class TestForm1 : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;   // first: settings, profile and drives live in it
    tavtest::HttpServer server;
    Form1 *form = nullptr;
    int endsBefore = 0;

    // Waits for the engine to ask the proxy for this full address.
    bool waitForProxied(const QByteArray &target, const QByteArray &host);
    bool waitForLoad(const std::function<void()> &action, bool expectOk = true);
    QStringList navigations;    // every target Form1 handed to WebBrowser1, in order

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void windowAsDesigned();
    void controlsInPlace_data();
    void controlsInPlace();
    void startUpOpensMakersSite();
    void quickLinks_data();
    void quickLinks();
    void addressBoxIsInputOnly();
    void goPassesTextUnchanged_data();
    void goPassesTextUnchanged();
    void navigationButtons();
    void failuresDoNotEndProgram_data();
    void failuresDoNotEndProgram();
    void exitEndsProgram();
    void messageBoxOnRealEventLoop();
};

bool TestForm1::waitForProxied(const QByteArray &target, const QByteArray &host)
{
    return QTest::qWaitFor([&] {
        for (const auto &r : server.proxiedRequests()) {
            if (r.method == "GET" && r.target == target && r.host == host)
                return true;
        }
        return false;
    }, 10000);
}

bool TestForm1::waitForLoad(const std::function<void()> &action, bool expectOk)
{
    // A load cut short earlier (a renderer that died, say) may report in first.
    QSignalSpy finished(form->WebBrowser1, &webview::WebBrowser::loadFinished);
    action();
    return QTest::qWaitFor([&] {
        for (const QList<QVariant> &signal : finished) {
            if (signal.at(0).toBool() == expectOk)
                return true;
        }
        return false;
    }, 10000);
}

void TestForm1::initTestCase()
{
    forms::setProgram(browser::programInfo());
    forms::setEndProgramHandler([] {});   // the test process lives on; endProgramCount() tells
    server.setTitledPage(QStringLiteral("/a"), QStringLiteral("Page A"));
    server.setTitledPage(QStringLiteral("/b"), QStringLiteral("Page B"));
    server.holdPath(QStringLiteral("/slow"));
    QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"),
                                                     server.port()));
}

void TestForm1::init()
{
    navigations.clear();
    form = new Form1;
    connect(form->WebBrowser1, &webview::WebBrowser::navigated, this,
            [this](const QString &target) { navigations << target; });
    endsBefore = forms::endProgramCount();
    // The layout is complete once the window is built; left unshown, it starts no engine.
    const QByteArray test = QTest::currentTestFunction();
    if (test == "windowAsDesigned" || test == "controlsInPlace")
        return;
    form->showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    // The engine starts once the window has painted.
    QTRY_VERIFY_WITH_TIMEOUT(form->WebBrowser1->hasEngine(), 5000);
}

void TestForm1::cleanup()
{
    delete form;
    form = nullptr;
}

void TestForm1::windowAsDesigned()
{
    QCOMPARE(form->windowTitle(), QStringLiteral("Internet Browser"));
    // The client area is 13065 x 10800 twips below the menu bar, and the window keeps its size.
    QCOMPARE(form->clientArea->size(), QSize(871, 720));
    QCOMPARE(form->clientArea->y(), form->menuBar->height());
    QCOMPARE(form->size(), QSize(871, 720 + form->menuBar->height()));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY(!form->windowIcon().isNull());
    // One menu, one item.
    QCOMPARE(form->menuBar->actions().size(), 1);
    QCOMPARE(form->mnuFile->title(), QStringLiteral("&File"));
    QCOMPARE(form->mnuFile->actions().size(), 1);
    QCOMPARE(form->mnuFileExit->text(), QStringLiteral("&Exit"));
    // The five pictures, 40 x 40 each.
    for (forms::ImageBox *box : {form->picGo, form->picBack, form->picStop, form->picRefresh, form->picForward}) {
        QCOMPARE(box->picture().deviceIndependentSize(), QSizeF(40, 40));
        QVERIFY(!box->hasBorder());
        QVERIFY(!box->accessibleName().isEmpty());
    }
    QCOMPARE(form->Label1->text(), QStringLiteral("URL:"));
    QCOMPARE(form->Label1->font().pointSizeF(), 13.5);
    QCOMPARE(form->Text1->text(), QString());
}

void TestForm1::controlsInPlace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");
    const auto row = [](const char *name, const char *parent, QRect twips, const char *caption = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << twips
                            << QString::fromLatin1(caption);
    };
    row("Frame2", "clientArea", {240, 120, 12615, 855});
    row("Label1", "Frame2", {120, 240, 975, 375}, "URL:");
    row("Text1", "Frame2", {1200, 240, 6015, 375});
    row("picGo", "Frame2", {7320, 120, 735, 615});
    row("picBack", "Frame2", {9120, 120, 735, 615});
    row("picStop", "Frame2", {9840, 120, 735, 615});
    row("picRefresh", "Frame2", {10560, 120, 615, 615});
    row("picForward", "Frame2", {11280, 120, 735, 615});
    row("WebBrowser1", "clientArea", {240, 1080, 12615, 8775});
    row("Frame1", "clientArea", {240, 9960, 12615, 735});
    row("btnYahoo", "Frame1", {240, 240, 1815, 375}, "Yahoo");
    row("btnGoogle", "Frame1", {2280, 240, 1815, 375}, "Google");
    row("btnZuzediroz", "Frame1", {4320, 240, 1815, 375}, "Brambleton");
    row("btnHotmail", "Frame1", {6480, 240, 1815, 375}, "Hotmail");
    row("btnTranslate", "Frame1", {8520, 240, 1815, 375}, "Translation Engine");
    row("btnMicrosoft", "Frame1", {10560, 240, 1815, 375}, "Microsoft");
}

void TestForm1::controlsInPlace()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    auto *control = form->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), (forms::TwipsRect{twips.x(), twips.y(), twips.width(), twips.height()}).toPixels());
    if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), caption);
    if (auto *frame = qobject_cast<QGroupBox *>(control)) {
        QCOMPARE(frame->title(), QString());
        QCOMPARE(frame->palette().color(QPalette::Window), QColor(Qt::white));
    }
}

void TestForm1::startUpOpensMakersSite()
{
    // Load asked for the maker's site by its bare host name; the engine asked for it as http.
    QCOMPARE(navigations.value(0), QStringLiteral("www.brambleton.example"));
    QCOMPARE(form->Text1->text(), QString());
    QVERIFY(waitForProxied("http://www.brambleton.example/", "www.brambleton.example"));
    QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->engine()->title(), QStringLiteral("proxied www.brambleton.example"),
                              10000);
    QCOMPARE(navigations.size(), 1);
    QCOMPARE(form->Text1->text(), QString());
}

void TestForm1::quickLinks_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("target");      // exactly as handed to Navigate
    QTest::addColumn<QByteArray>("request");  // what the engine asked the proxy for
    QTest::addColumn<QByteArray>("host");
    QTest::newRow("Yahoo") << "btnYahoo" << "www.yahoo.com" << QByteArray("http://www.yahoo.com/")
                           << QByteArray("www.yahoo.com");
    QTest::newRow("Google") << "btnGoogle" << "http://www.google.com" << QByteArray("http://www.google.com/")
                            << QByteArray("www.google.com");
    QTest::newRow("Brambleton") << "btnZuzediroz" << "http://www.brambleton.example"
                                << QByteArray("http://www.brambleton.example/") << QByteArray("www.brambleton.example");
    QTest::newRow("Hotmail") << "btnHotmail" << "http://www.hotmail.com" << QByteArray("http://www.hotmail.com/")
                             << QByteArray("www.hotmail.com");
    QTest::newRow("Translation Engine") << "btnTranslate" << "http://translate.google.com/"
                                        << QByteArray("http://translate.google.com/")
                                        << QByteArray("translate.google.com");
    QTest::newRow("Microsoft") << "btnMicrosoft" << "www.microsoft.com" << QByteArray("http://www.microsoft.com/")
                               << QByteArray("www.microsoft.com");
}

void TestForm1::quickLinks()
{
    QFETCH(QString, button);
    QFETCH(QString, target);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, host);
    QTest::keyClicks(form->Text1, QStringLiteral("typed text"));
    server.requests.clear();
    auto *link = form->findChild<QPushButton *>(button);
    QVERIFY(link);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(navigations.size(), 2);
    QCOMPARE(navigations.last(), target);
    QVERIFY(waitForProxied(request, host));
    QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->currentUrl(), QUrl(QString::fromLatin1(request)), 10000);
    QCOMPARE(form->Text1->text(), QStringLiteral("typed text"));
}

void TestForm1::addressBoxIsInputOnly()
{
    const QString address = server.url(QStringLiteral("/a"));
    QTest::keyClicks(form->Text1, address);
    QTest::keyClick(form->Text1, Qt::Key_Return);
    QTest::keyClick(form->Text1, Qt::Key_Enter);
    QCOMPARE(navigations.size(), 1);   // only start-up's
    QVERIFY(waitForLoad([this] { QTest::mouseClick(form->picGo, Qt::LeftButton); }));
    QCOMPARE(navigations.last(), address);
    QCOMPARE(form->WebBrowser1->engine()->title(), QStringLiteral("Page A"));
    QCOMPARE(form->Text1->text(), address);
    // Loading another page leaves the box alone.
    QVERIFY(waitForLoad([this] { form->WebBrowser1->Navigate(server.url(QStringLiteral("/b"))); }));
    QCOMPARE(form->Text1->text(), address);
}

void TestForm1::goPassesTextUnchanged_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("shows");   // what the view shows
    QTest::newRow("empty") << "" << int(webview::Target::Empty);
    QTest::newRow("bare host with port") << server.bareUrl(QStringLiteral("/b")) << int(webview::Target::Web);
    QTest::newRow("blanks around") << "  " + server.url(QStringLiteral("/b")) + "  " << int(webview::Target::Web);
    QTest::newRow("drive folder") << "c:/Tavolin/Internet" << int(webview::Target::Folder);
}

void TestForm1::goPassesTextUnchanged()
{
    QFETCH(QString, typed);
    QFETCH(int, shows);
    sandbox.makeDriveFolder(QStringLiteral("c"), QStringLiteral("Tavolin/Internet"));
    form->Text1->setText(typed);   // as if typed
    QTest::mouseClick(form->picGo, Qt::LeftButton);
    QCOMPARE(navigations.size(), 2);
    QCOMPARE(navigations.last(), typed);
    QCOMPARE(int(form->WebBrowser1->currentKind()), shows);
    if (shows == webview::Target::Web)
        QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->engine()->title(), QStringLiteral("Page B"), 10000);
    QCOMPARE(form->Text1->text(), typed);
}

void TestForm1::navigationButtons()
{
    QTest::keyClicks(form->Text1, QStringLiteral("left as typed"));
    QVERIFY(waitForLoad([this] { form->WebBrowser1->Navigate(server.url(QStringLiteral("/a"))); }));
    QVERIFY(waitForLoad([this] { QTest::mouseClick(form->btnYahoo, Qt::LeftButton); }));

    QVERIFY(waitForLoad([this] { QTest::mouseClick(form->picBack, Qt::LeftButton); }));
    QCOMPARE(form->WebBrowser1->currentUrl(), QUrl(server.url(QStringLiteral("/a"))));
    QVERIFY(waitForLoad([this] { QTest::mouseClick(form->picForward, Qt::LeftButton); }));
    QCOMPARE(form->WebBrowser1->currentUrl(), QUrl(QStringLiteral("http://www.yahoo.com/")));

    const int before = server.proxiedRequests().size();
    QVERIFY(waitForLoad([this] { QTest::mouseClick(form->picRefresh, Qt::LeftButton); }));
    QVERIFY(server.proxiedRequests().size() > before);

    // Stop on a page that never answers.
    form->WebBrowser1->Navigate(server.url(QStringLiteral("/slow")));
    QTRY_COMPARE_WITH_TIMEOUT(server.count("/slow"), 1, 10000);
    QVERIFY(waitForLoad([this] { QTest::mouseClick(form->picStop, Qt::LeftButton); }, false));

    QCOMPARE(form->Text1->text(), QStringLiteral("left as typed"));
    QCOMPARE(forms::endProgramCount(), endsBefore);
}

void TestForm1::failuresDoNotEndProgram_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::newRow("Back with nothing before") << "" << "picBack";
    QTest::newRow("Forward with nothing after") << "" << "picForward";
    QTest::newRow("unreachable") << "http://127.0.0.1:1/" << "picGo";
    QTest::newRow("malformed") << "http://exa mple.org" << "picGo";
    QTest::newRow("only a scheme") << "http://" << "picGo";
    QTest::newRow("missing folder") << "c:/Tavolin/Nowhere" << "picGo";
    QTest::newRow("renderer crash") << "chrome://crash" << "picGo";
}

void TestForm1::failuresDoNotEndProgram()
{
    QFETCH(QString, typed);
    QFETCH(QString, button);
    form->Text1->setText(typed);
    QSignalSpy rendererGone(form->WebBrowser1->engine()->page(), &QWebEnginePage::renderProcessTerminated);
    QTest::mouseClick(form->findChild<QWidget *>(button), Qt::LeftButton);
    if (typed.startsWith(QLatin1String("chrome://crash")))
        QVERIFY(rendererGone.wait(10000));
    else
        QTest::qWait(300);   // let a failing load play out
    QCOMPARE(forms::endProgramCount(), endsBefore);
    QVERIFY(form->isVisible());
    // The window carries on.
    form->Text1->setText(server.url(QStringLiteral("/b")));
    QVERIFY(waitForLoad([this] { QTest::mouseClick(form->picGo, Qt::LeftButton); }));
    QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->engine()->title(), QStringLiteral("Page B"), 10000);
}

void TestForm1::exitEndsProgram()
{
    form->mnuFileExit->trigger();
    QCOMPARE(forms::endProgramCount(), endsBefore + 1);
    QVERIFY(!form->isVisible());
}

void TestForm1::messageBoxOnRealEventLoop()
{
    // A launcher that cannot start, opened from a folder typed into the address box: the
    // real message box runs its own loop inside the view's double-click, and the window
    // carries on once it is answered.
    const QString dir = sandbox.makeDriveFolder(QStringLiteral("c"), QStringLiteral("Broken"));
    sandbox.writeFile(dir + QStringLiteral("/Gone.desktop"),
                      "[Desktop Entry]\nType=Application\nName=Gone\nExec=/nonexistent/program\n");
    form->Text1->setText(QStringLiteral("c:/Broken"));
    QTest::mouseClick(form->picGo, Qt::LeftButton);
    webview::FolderView *list = form->WebBrowser1->folderView();
    QCOMPARE(list->itemNames(), QStringList{"Gone.desktop"});

    QString seen;
    QTimer answer;
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = box->text();
        answer.stop();
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->defaultButton()->click();
    });
    answer.start();
    list->doItemsLayout();
    const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QVERIFY2(seen.contains(QStringLiteral("Gone.desktop")), qPrintable(seen));
    QCOMPARE(form->windowTitle(), QStringLiteral("Internet Browser"));
    QCOMPARE(form->WebBrowser1->currentFolder(), dir);
    QCOMPARE(forms::endProgramCount(), endsBefore);
    QVERIFY(waitForLoad([this] { form->WebBrowser1->Navigate(server.url(QStringLiteral("/a"))); }));
}

int main(int argc, char **argv)
{
    webview::WebBrowser::prepareApplication();
    QApplication app(argc, argv);
    TestForm1 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1.moc"
