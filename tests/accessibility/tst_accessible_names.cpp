// Every window of every program, walked control by control as a screen reader would:
// each visible control a user can reach has an accessible name that says what it is,
// not the control's internal name, and the names follow captions that change.
#include "about/frmabout.h"
#include "browser/form1.h"
#include "browser/program.h"
#include "dvdplayer/form1.h"
#include "dvdplayer/form2.h"
#include "dvdplayer/program.h"
#include "editor/frmmain.h"
#include "editor/program.h"
#include "forms/controls.h"
#include "forms/msgbox.h"
#include "forms/program.h"
#include "forms/timer.h"
#include "launcher/form1.h"
#include "launcher/form2.h"
#include "launcher/form3.h"
#include "launcher/form6.h"
#include "launcher/form7.h"
#include "launcher/form9.h"
#include "launcher/program.h"
#include "mp3player/form1.h"
#include "mp3player/program.h"
#include "settings/settings.h"
#include "support/sandbox.h"
#include "support/scripted.h"
#include "tic_tac_toe/form1.h"
#include "tic_tac_toe/program.h"
#include "webview/webbrowser.h"
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineView>
#include <QtTest>
#include <functional>

namespace {

struct WindowCase {
    const char *name;
    std::function<forms::ProgramInfo()> program;
    std::function<forms::Form *()> make;
};

const QList<WindowCase> &windowCases()
{
    static const QList<WindowCase> cases = {
        {"Tavolin Form1 (main window)", launcher::programInfo, [] { return new launcher::Form1; }},
        {"Tavolin Form2 (System Control)", launcher::programInfo, [] { return new launcher::Form2; }},
        {"Tavolin Form3 (Security Setup)", launcher::programInfo, [] { return new launcher::Form3; }},
        {"Tavolin Form6 (MarketPlace)", launcher::programInfo, [] { return new launcher::Form6; }},
        {"Tavolin Form7 (closing screen)", launcher::programInfo, [] { return new launcher::Form7; }},
        {"Tavolin Form9 (category view)", launcher::programInfo, [] { return new launcher::Form9; }},
        {"About box, launcher", launcher::programInfo,
         [] { return new about::frmAbout(about::Configuration::Launcher); }},
        {"About box, editor", editor::programInfo,
         [] { return new about::frmAbout(about::Configuration::Editor); }},
        {"Gridlark Form1", gridlark::programInfo, [] { return new gridlark::Form1; }},
        {"Editor frmMain", editor::programInfo, [] { return new editor::frmMain; }},
        {"Mp3 Form1", mp3player::programInfo, [] { return new mp3player::Form1; }},
        {"Browser Form1", browser::programInfo, [] { return new browser::Form1; }},
        {"DVD Form1 (video window)", dvdplayer::programInfo, [] { return new dvdplayer::Form1; }},
        {"DVD Form2 (control panel)", dvdplayer::programInfo, [] { return new dvdplayer::Form2; }},
    };
    return cases;
}

QString accessibleName(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

// The text a control shows, when it shows one.
QString shownText(QWidget *control)
{
    QString text;
    if (auto *label = qobject_cast<QLabel *>(control))
        text = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        text = button->text();
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        text = group->title();
    return text.remove(QLatin1Char('&')).trimmed();
}

// What is wrong with a control's name, or nothing.
QString nameProblem(QWidget *control)
{
    if (!QAccessible::queryAccessibleInterface(control))
        return QStringLiteral("has no accessible interface");
    const QString name = accessibleName(control);
    // A label with no caption has nothing to read, and must not read as its control name.
    const bool blankLabel = qobject_cast<forms::Label *>(control) && shownText(control).isEmpty();
    if (name.isEmpty())
        return blankLabel ? QString() : QStringLiteral("has no accessible name");
    // A bare control name ("Command2", "Frame1", "picGo") tells a listener nothing,
    // unless it is what the control shows.
    static const QRegularExpression controlName(QStringLiteral("^[A-Za-z]+[0-9]*$"));
    if (name == control->objectName() && controlName.match(name).hasMatch() && name != shownText(control))
        return QStringLiteral("is named only by its control name");
    return {};
}

// Pure decoration and plain layout containers: nothing a reader would stop at.
bool isDecoration(QWidget *w)
{
    return qobject_cast<forms::Line *>(w) || qobject_cast<forms::Shape *>(w)
        || w->metaObject() == &QWidget::staticMetaObject;
}

QString path(QWidget *w, QWidget *window)
{
    QStringList parts;
    for (QWidget *p = w; p && p != window; p = p->parentWidget())
        parts.prepend(p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className())
                                                : p->objectName());
    return parts.join(QLatin1Char('/'));
}

// The menus' entries are read from their actions' texts.
void checkMenus(QMenuBar *bar, QStringList &findings)
{
    std::function<void(const QList<QAction *> &, const QString &)> walk = [&](const QList<QAction *> &actions,
                                                                               const QString &where) {
        for (QAction *action : actions) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            QString text = action->text();
            text.remove(QLatin1Char('&'));
            if (text.trimmed().isEmpty())
                findings << where + QStringLiteral(": a menu entry has no text");
            if (QMenu *menu = action->menu())
                walk(menu->actions(), where + QLatin1Char('/') + text);
        }
    };
    walk(bar->actions(), bar->objectName());
}

// Walks a window's visible controls; Qt's own composite widgets (text areas, web views)
// are checked as one control, their inner parts being Qt's.
void walk(QWidget *w, QWidget *window, QStringList &findings, int &checked)
{
    for (QObject *child : w->children()) {
        auto *control = qobject_cast<QWidget *>(child);
        if (!control || control->isWindow() || !control->isVisibleTo(window))
            continue;
        if (control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (auto *bar = qobject_cast<QMenuBar *>(control)) {
            checkMenus(bar, findings);
            continue;
        }
        if (!isDecoration(control)) {
            ++checked;
            const QString problem = nameProblem(control);
            if (!problem.isEmpty())
                findings << QStringLiteral("%1 %2").arg(path(control, window), problem);
        }
        if (qobject_cast<QAbstractScrollArea *>(control) || qobject_cast<QWebEngineView *>(control))
            continue;
        walk(control, window, findings, checked);
    }
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestAccessibleNames : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;
    forms::TestClock clock;   // no timer runs on its own: the closing screen never ends the run
    QTcpServer silentWeb;     // the web views' only way out, and it never answers

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(silentWeb.listen(QHostAddress::LocalHost));
        QNetworkProxy::setApplicationProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), silentWeb.serverPort()));
        dvd::DvdControl::setDefaultOutputs(dvd::DvdControl::Outputs::None);
        // The category view shows the gaming folder, with a program in it.
        settings::saveSetting(QStringLiteral("Norvel"), QStringLiteral("Tavolin"), QStringLiteral("Apps"),
                              QStringLiteral("4"));
        QFile readme(sandbox.makeDriveFolder(QStringLiteral("c"), QStringLiteral("Tavolin/Gaming"))
                     + QStringLiteral("/readme.txt"));
        QVERIFY(readme.open(QIODevice::WriteOnly));
    }

    void everyControlIsNamed_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < windowCases().size(); ++i)
            QTest::newRow(windowCases().at(i).name) << i;
    }

    void everyControlIsNamed()
    {
        QFETCH(int, index);
        const WindowCase &c = windowCases().at(index);
        forms::setProgram(c.program());
        tavtest::ScriptedMsgBoxes boxes;
        QPointer<forms::Form> window = c.make();
        window->showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY2(!accessibleName(window).isEmpty(), "the window has no name");
        // A web view shows its page or folder once the window has been painted: wait for it.
        for (auto *web : window->findChildren<webview::WebBrowser *>()) {
            const auto showing = [&] {
                for (QWidget *inner : web->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                    if (inner->isVisibleTo(window) && !isDecoration(inner))
                        return true;
                return false;
            };
            QTRY_VERIFY_WITH_TIMEOUT(showing(), 20000);
        }

        QStringList findings;
        int checked = 0;
        walk(window, window, findings, checked);
        // The panel's video window is a window of its own: walk it as well.
        if (auto *panel = qobject_cast<dvdplayer::Form2 *>(window.data()))
            walk(panel->existingVideoWindow(), panel->existingVideoWindow(), findings, checked);
        QVERIFY(checked > 0);

        window->unload();
        settle();
        QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
    }

    // Two-state captions are read as they stand, not as they were when the window opened.
    void namesFollowCaptions()
    {
        tavtest::ScriptedMsgBoxes boxes;
        tavtest::ScriptedFileDialogs dialogs;

        forms::setProgram(mp3player::programInfo());
        auto *player = new mp3player::Form1;
        player->showModeless();
        dialogs.choose(sandbox.path() + QStringLiteral("/gone.mp3"));   // vanished: nothing is sent
        QTest::mouseClick(player->Command1, Qt::LeftButton);
        QTest::mouseClick(player->Command2, Qt::LeftButton);
        QCOMPARE(player->Command2->text(), QStringLiteral("Play"));
        QCOMPARE(accessibleName(player->Command2), QStringLiteral("Play"));
        QTest::mouseClick(player->Command4, Qt::LeftButton);
        QCOMPARE(accessibleName(player->Command2), QStringLiteral("Pause"));
        player->unload();

        forms::setProgram(dvdplayer::programInfo());
        auto *panel = new dvdplayer::Form2;
        panel->showModeless();
        QTest::mouseClick(panel->Command1, Qt::LeftButton);
        QCOMPARE(accessibleName(panel->Command1), QStringLiteral("Maximize"));
        // With no disc the first refresh fails and the display reads "NO DVD".
        clock.advance(10000);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(accessibleName(panel->Label2), QStringLiteral("NO DVD"));
        panel->unload();
        settle();
    }

    // The message boxes are Qt's own: the box is named by its title and its text and
    // buttons are read by Qt. Shown on the real event loop and answered from a timer.
    void messageBoxesAreReadByQt()
    {
        forms::setProgram(dvdplayer::programInfo());
        QString name, text;
        QStringList buttons;
        QTimer poll;
        poll.setInterval(20);
        int waited = 0;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) {
                if (++waited > 250)   // never leave the run hanging on a box that was missed
                    if (QWidget *w = QApplication::activeModalWidget())
                        w->close();
                return;
            }
            poll.stop();
            name = accessibleName(box);
            for (QLabel *label : box->findChildren<QLabel *>())
                if (label->isVisible() && !label->text().isEmpty())
                    text += accessibleName(label);
            for (QAbstractButton *button : box->buttons())
                buttons << accessibleName(button);
            box->button(QMessageBox::Ok)->click();
        });
        poll.start();
        forms::msgBox(dvdplayer::Form2::MessageB, forms::MsgBoxStyle::OkOnly);
        QCOMPARE(name, QStringLiteral("DVD Player"));
        QVERIFY2(text.contains(QStringLiteral("Please insert a DVD disk.")), qPrintable(text));
        QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
    }
};

int main(int argc, char **argv)
{
    webview::WebBrowser::prepareApplication();
    QApplication app(argc, argv);
    TestAccessibleNames test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_accessible_names.moc"
