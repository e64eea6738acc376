// The web view showing local folders: the listing, opening items, a missing folder and
// Back/Forward between folders. None of this may start the web engine.
#include "support/sandbox.h"
#include "support/scripted.h"
#include "webview/folderview.h"
#include "webview/webbrowser.h"
#include <QtTest>
#include <QFile>
#include <QLabel>

class TestFolders : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;   // first: every path below lives in it
    QWidget *window = nullptr;
    webview::WebBrowser *view = nullptr;
    QString internet;           // c:/Tavolin/Internet
    QString marker(const QString &name) const { return sandbox.path() + QLatin1Char('/') + name; }
    QModelIndex indexOf(const QString &name) const;
    void waitForFile(const QString &path);
    // As a user double-clicks: press and release, then the double-click and its release.
    static void doubleClick(QAbstractItemView *list, const QModelIndex &index)
    {
            const QPoint at = list->visualRect(index).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void listsIconsAndNames();
    void opensSubFolder_data();
    void opensSubFolder();
    void startsLauncherThroughGio();
    void startsExecutable();
    void failedStartIsReported();
    void missingFolder_data();
    void missingFolder();
    void backAndForwardWithNothingThere();
    void historyAcrossFolders();
    void refreshShowsNewFiles();
};

QModelIndex TestFolders::indexOf(const QString &name) const
{
    const QStringList names = view->folderView()->itemNames();
    const int row = names.indexOf(name);
    return row < 0 ? QModelIndex() : view->folderView()->model()->index(row, 0);
}

void TestFolders::initTestCase()
{
    internet = sandbox.makeDriveFolder(QStringLiteral("c"), QStringLiteral("Tavolin/Internet"));
    sandbox.makeDriveFolder(QStringLiteral("c"), QStringLiteral("Tavolin/Internet/More Programs"));
    sandbox.writeFile(internet + QStringLiteral("/More Programs/inside.txt"), "inside");
    sandbox.writeFile(internet + QStringLiteral("/Browser.desktop"),
                      "[Desktop Entry]\nType=Application\nName=Internet Browser\nExec=/usr/bin/touch "
                      + marker(QStringLiteral("launched")).toUtf8() + "\nTerminal=false\n");
    sandbox.writeFile(internet + QStringLiteral("/readme.txt"), "hello");
    sandbox.writeFile(internet + QStringLiteral("/.hidden"), "not listed");
    const QString script = sandbox.writeFile(internet + QStringLiteral("/start.sh"),
                                             "#!/bin/sh\ntouch '" + marker(QStringLiteral("started")).toUtf8() + "'\n");
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
}

void TestFolders::init()
{
    window = new QWidget;
    view = new webview::WebBrowser(window, QStringLiteral("WebBrowser1"), {0, 0, 9000, 6000});
    window->resize(600, 400);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestFolders::cleanup()
{
    QVERIFY2(!view->hasEngine(), "folders alone must not start the web engine");
    delete window;
    window = nullptr;
}

void TestFolders::waitForFile(const QString &path)
{
    QTRY_VERIFY2_WITH_TIMEOUT(QFile::exists(path), qPrintable(path), 5000);
}

void TestFolders::listsIconsAndNames()
{
    QSignalSpy shown(view, &webview::WebBrowser::folderShown);
    view->Navigate(QStringLiteral("c:/Tavolin/Internet"));
    QCOMPARE(shown.count(), 1);
    QCOMPARE(shown.at(0).at(1).toBool(), true);
    QCOMPARE(view->currentKind(), webview::Target::Folder);
    QVERIFY(view->folderView()->isVisible());
    // Folders first, then files by name; a launcher shows its own name; hidden files stay hidden.
    QCOMPARE(view->folderView()->itemNames(),
             QStringList({"More Programs", "Internet Browser", "readme.txt", "start.sh"}));
    const QAbstractItemModel *model = view->folderView()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QIcon icon = model->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
        QVERIFY2(!icon.isNull() && !icon.pixmap(48, 48).isNull(),
                 qPrintable(model->index(row, 0).data().toString()));
    }
}

void TestFolders::opensSubFolder_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("double-click") << false;
    QTest::newRow("Enter") << true;
}

void TestFolders::opensSubFolder()
{
    QFETCH(bool, byKeyboard);
    view->Navigate(QStringLiteral("c:/Tavolin/Internet"));
    const QModelIndex sub = indexOf(QStringLiteral("More Programs"));
    QVERIFY(sub.isValid());
    webview::FolderView *list = view->folderView();
    if (byKeyboard) {
        list->setCurrentIndex(sub);
        QTest::keyClick(list, Qt::Key_Return);
    } else {
        doubleClick(list, sub);
    }
    QCOMPARE(view->currentFolder(), internet + QStringLiteral("/More Programs"));
    QCOMPARE(list->itemNames(), QStringList{"inside.txt"});
    QCOMPARE(view->historyCount(), 2);
    view->GoBack();
    QCOMPARE(view->currentFolder(), internet);
}

void TestFolders::startsLauncherThroughGio()
{
    tavtest::ScriptedMsgBoxes boxes;
    view->Navigate(QStringLiteral("c:/Tavolin/Internet"));
    webview::FolderView *list = view->folderView();
    const QModelIndex launcher = indexOf(QStringLiteral("Internet Browser"));
    QVERIFY(launcher.isValid());
    doubleClick(list, launcher);
    waitForFile(marker(QStringLiteral("launched")));
    QVERIFY(boxes.shown.isEmpty());
    QCOMPARE(view->currentFolder(), internet);   // starting a program leaves the view where it was
}

void TestFolders::startsExecutable()
{
    tavtest::ScriptedMsgBoxes boxes;
    view->Navigate(QStringLiteral("c:/Tavolin/Internet"));
    webview::FolderView *list = view->folderView();
    list->setCurrentIndex(indexOf(QStringLiteral("start.sh")));
    QTest::keyClick(list, Qt::Key_Enter);
    waitForFile(marker(QStringLiteral("started")));
    QVERIFY(boxes.shown.isEmpty());
}

void TestFolders::failedStartIsReported()
{
    // A launcher whose program is gone, and a file that no application opens.
    const QString dir = sandbox.makeDriveFolder(QStringLiteral("c"), QStringLiteral("Broken"));
    sandbox.writeFile(dir + QStringLiteral("/Gone.desktop"),
                      "[Desktop Entry]\nType=Application\nName=Gone\nExec=/nonexistent/program\n");
    sandbox.writeFile(dir + QStringLiteral("/data.unknownkind"), QByteArray(64, '\x01'));
    tavtest::ScriptedMsgBoxes boxes;
    view->Navigate(QStringLiteral("c:/Broken"));
    for (const QString &name : {QStringLiteral("Gone.desktop"), QStringLiteral("data.unknownkind")}) {
        boxes.clear();
        const QModelIndex item = indexOf(name);   // a launcher that cannot start is listed by its file name
        QVERIFY2(item.isValid(), qPrintable(view->folderView()->itemNames().join(QLatin1Char(','))));
        view->folderView()->openItem(item);
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY2(boxes.shown.at(0).text.contains(name), qPrintable(boxes.shown.at(0).text));
        QCOMPARE(boxes.shown.at(0).buttons, forms::MsgBoxStyle::Exclamation);
    }
    QCOMPARE(view->currentFolder(), dir);
}

void TestFolders::missingFolder_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing category") << "c:/Tavolin/Nowhere";
    QTest::newRow("missing drive") << "q:/Programs";
    QTest::newRow("a file, not a folder") << "c:/Tavolin/Internet/readme.txt";
}

void TestFolders::missingFolder()
{
    QFETCH(QString, target);
    QSignalSpy shown(view, &webview::WebBrowser::folderShown);
    view->Navigate(QStringLiteral("c:/Tavolin/Internet"));
    view->Navigate(target);
    QCOMPARE(shown.count(), 2);
    QCOMPARE(shown.at(1).at(1).toBool(), false);
    QVERIFY(view->folderMissing());
    auto *message = view->findChild<QLabel *>(QStringLiteral("messagePage"));
    QVERIFY(message && message->isVisible());
    QVERIFY2(message->text().contains(QStringLiteral("folder not found"), Qt::CaseInsensitive),
             qPrintable(message->text()));
    QVERIFY(message->text().contains(target));
    QVERIFY(!view->folderView()->isVisible());
    view->GoBack();   // the missing folder is a step of the history like any other
    QVERIFY(!view->folderMissing());
    QCOMPARE(view->currentFolder(), internet);
    QVERIFY(view->folderView()->isVisible());
}

void TestFolders::backAndForwardWithNothingThere()
{
    // A new view: nothing to go back or forward to, nothing to reload or stop.
    view->GoBack();
    view->GoForward();
    view->Refresh();
    view->Stop();
    QCOMPARE(view->historyCount(), 0);
    QCOMPARE(view->currentKind(), webview::Target::Empty);
    view->Navigate(QStringLiteral("c:/Tavolin/Internet"));
    view->GoForward();
    view->GoBack();
    QCOMPARE(view->historyIndex(), 0);
    QCOMPARE(view->currentFolder(), internet);
}

void TestFolders::historyAcrossFolders()
{
    view->Navigate(QStringLiteral("c:/Tavolin/Internet"));
    view->folderView()->openItem(indexOf(QStringLiteral("More Programs")));
    view->Navigate(QString());   // the empty page is a step too
    view->GoBack();
    QCOMPARE(view->currentFolder(), internet + QStringLiteral("/More Programs"));
    view->GoBack();
    QCOMPARE(view->currentFolder(), internet);
    view->GoForward();
    QCOMPARE(view->currentFolder(), internet + QStringLiteral("/More Programs"));
    // A new target drops what lay ahead.
    view->GoBack();
    view->Navigate(QStringLiteral("c:/Tavolin/Nowhere"));
    view->GoForward();
    QVERIFY(view->folderMissing());
    QCOMPARE(view->historyCount(), 2);
}

void TestFolders::refreshShowsNewFiles()
{
    const QString dir = sandbox.makeDriveFolder(QStringLiteral("c"), QStringLiteral("Fresh"));
    view->Navigate(QStringLiteral("c:/Fresh"));
    QVERIFY(view->folderView()->itemNames().isEmpty());
    sandbox.writeFile(dir + QStringLiteral("/new.txt"), "x");
    view->Refresh();
    QCOMPARE(view->folderView()->itemNames(), QStringList{"new.txt"});
    QCOMPARE(view->historyCount(), 1);
}

QTEST_MAIN(TestFolders)
#include "tst_folders.moc"
