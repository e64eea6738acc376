// The closing questions and the save dialog on the real event loop: real message boxes
// and Qt's own file dialog, answered from a timer the way a user would click them.
#include "editor/frmmain.h"
#include "editor/program.h"
#include "support/sandbox.h"
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using editor::frmMain;

class TestEventLoop : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;

    // Answers whatever modal window comes up: message boxes by their text, the file
    // dialog with `saveAs`. Records what it saw.
    struct User {
        QStringList seen;
        QMap<QString, QMessageBox::StandardButton> answers;
        QString saveAs;
        QTimer timer;
        User()
        {
            timer.setInterval(10);
            QObject::connect(&timer, &QTimer::timeout, &timer, [this] { act(); });
            timer.start();
        }
        void act()
        {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen << box->windowTitle() + QLatin1Char('|') + box->text();
                box->button(answers.value(box->text(), QMessageBox::No))->click();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                seen << dialog->windowTitle() + QLatin1Char('|') + dialog->selectedFiles().value(0);
                dialog->selectFile(saveAs);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        }
    };

    QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { forms::setProgram(editor::programInfo()); }

    void replaceOnTheRealLoop()
    {
        const QString path = sandbox.writeFile(QStringLiteral("doc.qlt"), "\"old\"\r\n");
        QPointer<frmMain> w = new frmMain;
        w->showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::keyClicks(w->ctrlTextEdit, QStringLiteral("typed"));
        w->DocumentPath = path;

        User user;
        user.answers[QStringLiteral("Are you want Save the Changes?")] = QMessageBox::Yes;
        user.answers[QStringLiteral("Are you want to Replace the existing File?")] = QMessageBox::Yes;
        QTimer::singleShot(0, w, [w] { w->mnuFileExit->trigger(); });
        QTRY_VERIFY(!w);
        QCOMPARE(user.seen, (QStringList{QStringLiteral("Quillet|Are you want Save the Changes?"),
                                         QStringLiteral("Quillet|Are you want to Replace the existing File?")}));
        QCOMPARE(contents(path), QByteArray("\"typed\"\r\n"));
    }

    void noAnswerKeepsTheFile()
    {
        const QString path = sandbox.writeFile(QStringLiteral("kept.qlt"), "\"old\"\r\n");
        QPointer<frmMain> w = new frmMain;
        w->showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::keyClicks(w->ctrlTextEdit, QStringLiteral("typed"));
        w->DocumentPath = path;
        User user;   // answers No, the default button, to everything
        QTimer::singleShot(0, w, [w] { w->close(); });
        QTRY_VERIFY(!w);
        QCOMPARE(user.seen.size(), 1);
        QCOMPARE(contents(path), QByteArray("\"old\"\r\n"));
    }

    void saveDialogProposesDefaultName()
    {
        QPointer<frmMain> w = new frmMain;
        w->showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::keyClicks(w->ctrlTextEdit, QStringLiteral("fresh"));
        User user;
        user.answers[QStringLiteral("Are you want Save the Changes?")] = QMessageBox::Yes;
        user.saveAs = sandbox.path() + QStringLiteral("/picked.qlt");
        QTimer::singleShot(0, w, [w] { w->close(); });
        QTRY_VERIFY(!w);
        QCOMPARE(user.seen.size(), 2);
        QVERIFY(user.seen[1].startsWith(QStringLiteral("Save|")));
        QVERIFY(user.seen[1].endsWith(QStringLiteral("/default.qlt")));
        QCOMPARE(contents(user.saveAs), QByteArray("\"fresh\"\r\n"));
    }
};

QTEST_MAIN(TestEventLoop)
#include "tst_eventloop.moc"
