#include "launcher/form1.h"
#include "launcher/form9.h"
#include "launcher/program.h"
#include "settings/settings.h"
#include "support/sandbox.h"
#include "support/windows.h"
#include "support/scripted.h"
#include "webview/folderview.h"
#include <QtTest>

using launcher::Form1;
using launcher::Form9;

class TstLauncherForm1 : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;
    QPointer<Form1> form;

    static QPoint centreOf(const QWidget *w) { return w->mapTo(w->window(), w->rect().center()); }
    Form9 *openCategoryView() const { return tavtest::openWindow<Form9>(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowAsTabled();
    void versionTextAndPanel();
    void hoverHighlights_data();
    void hoverHighlights();
    void timerRepaintsEveryFiftySeconds();
    void categoryIsStoredAndShown_data();
    void categoryIsStoredAndShown();
    void twoCategoriesInARowShowTheirOwnFolders();
    void categoryViewIgnoresOtherValues_data();
    void categoryViewIgnoresOtherValues();
    void categoryViewListsTheFolder();
    void categorySurvivesRestart();
};

void TstLauncherForm1::initTestCase()
{
    forms::setProgram(launcher::programInfo());
    forms::Form::setModalShowBlocks(false);   // the tests drive the modal windows themselves
    sandbox.makeDriveFolder("c", "Tavolin/Internet");
    sandbox.makeDriveFolder("c", "Tavolin/Office");
    sandbox.makeDriveFolder("c", "Tavolin/Multimedia");
    const QString gaming = sandbox.makeDriveFolder("c", "Tavolin/Gaming");
    sandbox.writeFile(gaming + "/Gridlark.desktop",
                      "[Desktop Entry]\nType=Application\nName=Gridlark\nExec=/bin/true\n");
}

void TstLauncherForm1::init()
{
    form = new Form1;
    form->showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void TstLauncherForm1::cleanup()
{
    if (Form9 *view = openCategoryView())
        view->unload();
    if (form)
        form->unload();
    QTRY_VERIFY(form.isNull());
}

void TstLauncherForm1::windowAsTabled()
{
    QCOMPARE(form->size(), QSize(600, 518));   // 9000 x 7770 twips
    QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(form->caption(), QStringLiteral("Tavolin"));
    QCOMPARE(form->Label8->geometry(), QRect(112, 128, 369, 41));
    QCOMPARE(form->Label11->text(), QStringLiteral("Gaming Programs"));
    QCOMPARE(form->Label8->font().pointSizeF(), 20.25);
    QVERIFY(form->Label8->font().bold());
    QVERIFY(form->Frame1->isHidden());
    for (QWidget *w : form->findChildren<QWidget *>())
        if (w->isVisibleTo(form) && !qobject_cast<forms::Line *>(w) && !w->objectName().startsWith("qt_"))
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
}

void TstLauncherForm1::versionTextAndPanel()
{
    QCOMPARE(form->Label15->text(), QStringLiteral("Version 1.0.12"));
    QTest::mouseClick(form->Image7, Qt::LeftButton);
    QVERIFY(form->Frame1->isVisible());
    QTest::mouseClick(form->Image7, Qt::LeftButton);   // a second click leaves it open
    QVERIFY(form->Frame1->isVisible());
    QTest::mouseClick(form->Label7, Qt::LeftButton);
    QVERIFY(form->Frame1->isHidden());
}

// Each row moves the mouse over the named surfaces in turn, then lists the controls
// that have a border.
void TstLauncherForm1::hoverHighlights_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QStringList>("bordered");
    QTest::newRow("category label") << QStringList{"Label9"} << QStringList{"Label9"};
    QTest::newRow("next label crosses the panel")
        << QStringList{"Label8", "Image6", "Label9"} << QStringList{"Label9"};
    QTest::newRow("panel clears categories") << QStringList{"Label10", "Image6"} << QStringList{};
    QTest::newRow("logo") << QStringList{"Image7"} << QStringList{"Image7"};
    QTest::newRow("background clears logo and categories, not the bar")
        << QStringList{"Image7", "Label11", "Label2", "background"} << QStringList{"Label2"};
    QTest::newRow("bar labels") << QStringList{"Label1", "Label3"} << QStringList{"Label1", "Label3"};
    QTest::newRow("bottom strip clears the bar labels")
        << QStringList{"Label1", "Label2", "Label3", "Image1"} << QStringList{};
    QTest::newRow("bullets and copyright change nothing")
        << QStringList{"Label2", "Image2", "Image5", "Label12"} << QStringList{"Label2"};
    QTest::newRow("panel close label") << QStringList{"open panel", "Label7"} << QStringList{"Label7"};
    QTest::newRow("panel background clears Close")
        << QStringList{"open panel", "Label7", "Frame1"} << QStringList{};
    QTest::newRow("panel labels without events change nothing")
        << QStringList{"open panel", "Label7", "Label6", "Label15", "Label5"} << QStringList{"Label7"};
}

void TstLauncherForm1::hoverHighlights()
{
    QFETCH(QStringList, path);
    QFETCH(QStringList, bordered);
    for (const QString &step : path) {
        if (step == "open panel") {
            QTest::mouseClick(form->Image7, Qt::LeftButton);
            continue;
        }
        QPoint at;
        if (step == "background") {
            at = QPoint(40, 40);   // a spot with no control on it
        } else if (step == "Frame1") {
            at = form->Frame1->mapTo(form, QPoint(5, 50));   // between the panel's labels
        } else {
            auto *w = form->findChild<QWidget *>(step);
            QVERIFY2(w, qPrintable(step));
            at = centreOf(w);
            if (step == "Image6")
                at = form->Image6->mapTo(form, QPoint(20, 20));   // the panel's corner, off the labels
        }
        QTest::mouseMove(form, at);
        QCoreApplication::processEvents();
    }
    QStringList actual;
    for (const char *name : {"Image7", "Label8", "Label9", "Label10", "Label11", "Label1", "Label2", "Label3", "Label7"}) {
        auto *w = form->findChild<QFrame *>(name);
        if (w->frameShape() != QFrame::NoFrame)
            actual << QLatin1String(name);
    }
    bordered.sort();
    actual.sort();
    QCOMPARE(actual, bordered);
}

void TstLauncherForm1::timerRepaintsEveryFiftySeconds()
{
    forms::TestClock clock;
    QCOMPARE(form->Timer1->interval(), 50000);
    QVERIFY(form->Timer1->isEnabled());
    QSignalSpy ticks(form->Timer1, &forms::Timer::tick);
    clock.advance(49999);
    QCOMPARE(ticks.count(), 0);
    clock.advance(1);
    QCOMPARE(ticks.count(), 1);
}

void TstLauncherForm1::categoryIsStoredAndShown_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("folder");
    QTest::newRow("Internet") << "Label8" << "1" << "c:/Tavolin/Internet";
    QTest::newRow("Office") << "Label9" << "2" << "c:/Tavolin/Office";
    QTest::newRow("Multimedia") << "Label10" << "3" << "c:/Tavolin/Multimedia";
    QTest::newRow("Gaming") << "Label11" << "4" << "c:/Tavolin/Gaming";
}

void TstLauncherForm1::categoryIsStoredAndShown()
{
    QFETCH(QString, label);
    QFETCH(QString, value);
    QFETCH(QString, folder);
    QTest::mouseClick(form->findChild<forms::Label *>(label), Qt::LeftButton);
    QCOMPARE(settings::getSetting("Norvel", "Tavolin", "Apps", "absent"), value);
    Form9 *view = openCategoryView();
    QVERIFY(view);
    QVERIFY(view->isShownModally());
    QCOMPARE(view->parentWidget(), form.data());   // shown over the main window
    QCOMPARE(view->Text1->text(), value);
    QVERIFY(view->Text1->isHidden());
    QCOMPARE(view->WebBrowser1->currentTarget(), folder);
    QCOMPARE(view->WebBrowser1->currentFolder(),
             sandbox.dataHome() + "/tavolin/drives/c/" + folder.mid(3));
    QVERIFY(!view->WebBrowser1->hasEngine());   // a folder needs no web engine
    QPointer<Form9> closed = view;
    QTest::mouseClick(view->Command1, Qt::LeftButton);   // "Close Window"
    QTRY_VERIFY(closed.isNull());
}

void TstLauncherForm1::twoCategoriesInARowShowTheirOwnFolders()
{
    QTest::mouseClick(form->Label8, Qt::LeftButton);
    QCOMPARE(openCategoryView()->WebBrowser1->currentTarget(), QStringLiteral("c:/Tavolin/Internet"));
    openCategoryView()->unload();
    QTRY_VERIFY(!openCategoryView());
    QTest::mouseClick(form->Label10, Qt::LeftButton);
    QCOMPARE(openCategoryView()->WebBrowser1->currentTarget(), QStringLiteral("c:/Tavolin/Multimedia"));
    QCOMPARE(openCategoryView()->WebBrowser1->historyCount(), 1);   // nothing from the last opening
}

void TstLauncherForm1::categoryViewIgnoresOtherValues_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("absent");
    QTest::newRow("5") << "5" << false;
    QTest::newRow("leading blank") << " 1" << false;
    QTest::newRow("leading zero") << "01" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("absent") << "" << true;
}

void TstLauncherForm1::categoryViewIgnoresOtherValues()
{
    QFETCH(QString, stored);
    QFETCH(bool, absent);
    QFile::remove(settings::settingsFile("Norvel"));
    if (!absent)
        settings::saveSetting("Norvel", "Tavolin", "Apps", stored);
    auto *view = new Form9(form);
    QSignalSpy navigations(view->WebBrowser1, &webview::WebBrowser::navigated);
    view->showModal(form);
    QCOMPARE(view->Text1->text(), stored);
    QCOMPARE(navigations.count(), 0);
    QCOMPARE(view->WebBrowser1->currentKind(), webview::Target::Empty);
    QVERIFY(view->Command1->isEnabled());
    view->unload();
}

void TstLauncherForm1::categoryViewListsTheFolder()
{
    QTest::mouseClick(form->Label11, Qt::LeftButton);
    Form9 *view = openCategoryView();
    QVERIFY(view);
    QCOMPARE(view->WebBrowser1->folderView()->itemNames(), QStringList{"Gridlark"});
    QVERIFY(view->WebBrowser1->folderView()->isVisible());
}

void TstLauncherForm1::categorySurvivesRestart()
{
    QTest::mouseClick(form->Label9, Qt::LeftButton);
    openCategoryView()->unload();
    // Another process reads the store as the next run would.
    QProcess reader;
    reader.start(QStringLiteral("sh"), {"-c", "cat \"$0\"", settings::settingsFile("Norvel")});
    QVERIFY(reader.waitForFinished(5000));
    QVERIFY(reader.readAllStandardOutput().contains("Apps=2"));
    form->unload();
    QTRY_VERIFY(form.isNull());
    form = new Form1;
    form->showModeless();
    auto *view = new Form9(form);
    view->showModal(form);
    QCOMPARE(view->WebBrowser1->currentTarget(), QStringLiteral("c:/Tavolin/Office"));
}

QTEST_MAIN(TstLauncherForm1)
#include "tst_form1.moc"
