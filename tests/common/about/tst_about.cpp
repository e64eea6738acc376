// The About box in its two configurations: what it shows, how it closes, and how
// System Info finds the system information program through the registry.
#include "about/frmabout.h"
#include "forms/program.h"
#include "registry/registry.h"
#include "support/sandbox.h"
#include "support/scripted.h"
#include <QMessageBox>
#include <QPointer>
#include <QtTest>

using about::Configuration;
using about::frmAbout;

Q_DECLARE_METATYPE(Configuration)

namespace {
const QByteArray MsInfo = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
const QByteArray Location = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n";

QByteArray regText(const QString &text)
{
    QByteArray escaped = text.toUtf8();
    escaped.replace("\\", "\\\\").replace("\"", "\\\"");
    return "\"" + escaped + "\"";
}
} // namespace

class TestAbout : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;   // first: nothing may read the real config folders
    QString marker;              // written by the fake system information program

    QString regFile() const { return sandbox.configHome() + "/tavolin/registry/HKEY_LOCAL_MACHINE.reg"; }
    void writeRegistry(const QByteArray &body) { sandbox.writeFile(regFile(), "REGEDIT4\n\n" + body); }

    // A program that records its arguments in `marker`.
    QString writeProgram(const QString &path)
    {
        sandbox.writeFile(path, "#!/bin/sh\necho \"started $*\" > '" + marker.toUtf8() + "'\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QString markerText() const
    {
        QFile f(marker);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    }

private slots:
    void initTestCase()
    {
        forms::setProgram({QStringLiteral("Tavolin 2005"), 1, 0, 12});
        forms::Form::setModalShowBlocks(false);
        marker = sandbox.path() + "/started.txt";
    }

    void cleanup()
    {
        QFile::remove(regFile());
        QFile::remove(marker);
        QCOMPARE(registry::openHandleCount(), 0);   // every look-up closes its key
    }

    void loadStep_data()
    {
        QTest::addColumn<Configuration>("configuration");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("titleLabel");
        QTest::addColumn<QString>("version");
        QTest::newRow("launcher") << Configuration::Launcher << "Tavolin 2005" << 1 << 0 << 12
                                  << "About Tavolin 2005" << "Tavolin 2005" << "Version 1.0.12";
        QTest::newRow("launcher follows the title") << Configuration::Launcher << "Other" << 2 << 3 << 4
                                                    << "About Other" << "Other" << "Version 2.3.4";
        QTest::newRow("editor") << Configuration::Editor << "Text Editor" << 1 << 0 << 0
                                << "Quillet" << "Quillet [ Free Edition ]" << "Version 1.0.0";
        QTest::newRow("editor keeps its name") << Configuration::Editor << "Tavolin 2005" << 1 << 0 << 12
                                               << "Quillet" << "Quillet [ Free Edition ]" << "Version 1.0.12";
    }

    void loadStep()
    {
        QFETCH(Configuration, configuration);
        QFETCH(QString, title);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        const forms::ProgramInfo saved = forms::program();
        forms::setProgram({title, major, minor, revision});
        QPointer<frmAbout> box = new frmAbout(configuration);
        QCOMPARE(box->lblTitle->caption(), QStringLiteral("Application Title"));
        box->showModeless();
        QTEST(box->caption(), "caption");
        QTEST(box->lblTitle->caption(), "titleLabel");
        QTEST(box->lblVersion->caption(), "version");
        box->unload();
        forms::setProgram(saved);
    }

    void configurationsLook()
    {
        QPointer<frmAbout> launcher = new frmAbout(Configuration::Launcher);
        QCOMPARE(launcher->borderStyle(), forms::BorderStyle::FixedToolWindow);
        QCOMPARE(launcher->size(), QSize(382, 237));   // 5730 x 3555 twips
        QCOMPARE(launcher->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(launcher->lblDescription->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(!launcher->Label1);
        QVERIFY(!launcher->showInTaskbar());

        QPointer<frmAbout> editor = new frmAbout(Configuration::Editor);
        QCOMPARE(editor->borderStyle(), forms::BorderStyle::FixedDialog);
        QCOMPARE(editor->size(), QSize(456, 242));     // 6840 x 3630 twips
        QCOMPARE(editor->lblDescription->caption(), QStringLiteral("Free DownLoad"));
        QVERIFY(editor->Label1 && !editor->Label1->caption().isEmpty());
        QVERIFY(editor->lblTitle->font().bold());
        QCOMPARE(editor->cmdSysInfo->text(), QStringLiteral("&System Info..."));
        delete launcher;
        delete editor;
    }

    void closeKeys_data()
    {
        QTest::addColumn<Configuration>("configuration");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("onSysInfo");   // focus on System Info first
        QTest::addColumn<bool>("closes");
        for (auto c : {Configuration::Launcher, Configuration::Editor}) {
            const char *n = c == Configuration::Launcher ? "launcher" : "editor";
            QTest::addRow("%s Return", n) << c << int(Qt::Key_Return) << false << true;
            QTest::addRow("%s Enter", n) << c << int(Qt::Key_Enter) << false << true;
            QTest::addRow("%s Escape", n) << c << int(Qt::Key_Escape) << false << true;
            QTest::addRow("%s Escape on System Info", n) << c << int(Qt::Key_Escape) << true << true;
            QTest::addRow("%s Return on System Info", n) << c << int(Qt::Key_Return) << true << false;
        }
    }

    void closeKeys()
    {
        QFETCH(Configuration, configuration);
        QFETCH(int, key);
        QFETCH(bool, onSysInfo);
        QFETCH(bool, closes);
        tavtest::ScriptedMsgBoxes boxes;
        QPointer<frmAbout> box = new frmAbout(configuration);
        QSignalSpy unloaded(box.data(), &forms::Form::unloaded);
        box->showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(box));
        box->activateWindow();
        (onSysInfo ? static_cast<QWidget *>(box->cmdSysInfo) : box->cmdOK)->setFocus();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box.data(), Qt::Key(key));
        QCOMPARE(unloaded.count(), closes ? 1 : 0);
        // Return on the focused System Info button runs System Info: nothing is set up, so
        // it says it is unavailable and the box stays.
        QCOMPARE(boxes.texts(), closes ? QStringList() : QStringList{frmAbout::UnavailableText});
        if (!closes)
            box->unload();
        QTRY_VERIFY(!box);
    }

    void startSysInfo_data()
    {
        QTest::addColumn<Configuration>("configuration");
        QTest::addColumn<QByteArray>("registryText");
        QTest::addColumn<QString>("started");   // the marker's text; empty: nothing started

        const QString program = sandbox.path() + "/bin/sys info";   // a blank in its path
        const QString driveFolder = sandbox.makeDriveFolder("c", "Program Files/Sys Info");
        const QString emptyFolder = sandbox.makeDriveFolder("c", "Empty");
        Q_UNUSED(emptyFolder);
        writeProgram(program);
        writeProgram(driveFolder + "/MSINFO32.EXE");
        const QByteArray location = Location + "\"MSINFO\"=" + regText("c:\\Program Files\\Sys Info") + "\n";
        writeProgram(sandbox.makeDriveFolder("c", "Lower") + "/msinfo32.exe");
        sandbox.makeDriveFolder("c", "Folder/MSINFO32.EXE");

        for (auto c : {Configuration::Launcher, Configuration::Editor}) {
            const char *n = c == Configuration::Launcher ? "launcher" : "editor";
            QTest::addRow("%s: neither value", n) << c << QByteArray() << QString();
            QTest::addRow("%s: PATH started unchanged", n)
                << c << MsInfo + "\"PATH\"=" + regText("\"" + program + "\" /report \"a b\"") + "\n"
                << "started /report a b";
            QTest::addRow("%s: PATH naming a whole path with blanks", n)
                << c << MsInfo + "\"PATH\"=" + regText(program) + "\n" << "started";
            QTest::addRow("%s: PATH wins over MSINFO", n)
                << c << MsInfo + "\"PATH\"=" + regText("\"" + program + "\" first") + "\n" + location
                << "started first";
            QTest::addRow("%s: PATH program missing", n)
                << c << MsInfo + "\"PATH\"=" + regText(sandbox.path() + "/bin/none") + "\n" + location << QString();
            QTest::addRow("%s: PATH expandable text", n)
                << c << MsInfo + "\"PATH\"=hex(2):2f,62,69,6e,2f,74,72,75,65,00\n" + location << QString();
            QTest::addRow("%s: PATH a number", n) << c << MsInfo + "\"PATH\"=dword:00000005\n" << QString();
            QTest::addRow("%s: PATH over 1024 bytes, then MSINFO", n)
                << c << MsInfo + "\"PATH\"=\"" + QByteArray(1100, 'p') + "\"\n" + location << "started";
            QTest::addRow("%s: MSINFO with MSINFO32.EXE", n) << c << location << "started";
            QTest::addRow("%s: MSINFO without MSINFO32.EXE", n)
                << c << Location + "\"MSINFO\"=" + regText("c:\\Empty") + "\n" << QString();
            QTest::addRow("%s: MSINFO32.EXE in lower case", n)
                << c << Location + "\"MSINFO\"=" + regText("c:\\Lower") + "\n" << "started";
            QTest::addRow("%s: MSINFO32.EXE a folder", n)
                << c << Location + "\"MSINFO\"=" + regText("c:\\Folder") + "\n" << QString();
            QTest::addRow("%s: MSINFO folder missing", n)
                << c << Location + "\"MSINFO\"=" + regText("c:\\Nowhere") + "\n" << QString();
            QTest::addRow("%s: empty PATH key, MSINFO used", n) << c << MsInfo + location << "started";
        }
    }

    void startSysInfo()
    {
        QFETCH(Configuration, configuration);
        QFETCH(QByteArray, registryText);
        QFETCH(QString, started);
        if (!registryText.isEmpty())
            writeRegistry(registryText);
        tavtest::ScriptedMsgBoxes boxes;
        QPointer<frmAbout> box = new frmAbout(configuration);
        box->showModeless();
        box->cmdSysInfo->click();
        if (started.isEmpty()) {
            QCOMPARE(boxes.texts(), QStringList{frmAbout::UnavailableText});
            QCOMPARE(boxes.shown.first().buttons, forms::MsgBoxStyle::OkOnly);
            QCOMPARE(boxes.shown.first().title, forms::program().title);
            QTest::qWait(300);   // anything wrongly started has had time to write
            QVERIFY(!QFile::exists(marker));
        } else {
            QVERIFY(boxes.shown.isEmpty());
            QTRY_COMPARE_WITH_TIMEOUT(markerText(), started, 5000);
        }
        QVERIFY(box && box->isVisible());   // System Info never closes the box
        box->unload();
    }

    // Each row: the value in the .reg text, what KeyVal holds before, the launcher's and
    // the editor's result ("!" for a failed cut).
    void getKeyValue_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("launcher");
        QTest::addColumn<QString>("editor");
        QTest::newRow("text") << QByteArray("\"abc def\"") << "old" << true << "abc def" << "abc def";
        QTest::newRow("empty text") << QByteArray("\"\"") << "old" << true << "" << "";
        QTest::newRow("text filling the buffer")
            << "\"" + QByteArray(1023, 'a') + "\"" << "" << true << QString(1023, 'a') << QString(1023, 'a');
        QTest::newRow("number 5") << QByteArray("dword:00000005") << "" << true << "&h005" << "&h5";
        QTest::newRow("number 0x0102") << QByteArray("dword:00000102") << "" << true << "&h012" << "&h12";
        QTest::newRow("number appends to KeyVal") << QByteArray("dword:00000005") << "x" << true << "&hx005" << "&hx5";
        QTest::newRow("number with no zero byte")
            << QByteArray("dword:0a0b0c0d") << "" << true << "&hABCD" << "&hABCD";
        QTest::newRow("expandable text leaves KeyVal") << QByteArray("hex(2):61,00") << "keep" << true << "keep" << "keep";
        QTest::newRow("binary leaves KeyVal") << QByteArray("hex:01,02") << "keep" << true << "keep" << "keep";
        QTest::newRow("empty binary: the launcher's cut fails") << QByteArray("hex:") << "keep" << true << "!" << "keep";
        QTest::newRow("1024 bytes without NUL: the editor's cut fails")
            << "hex:" + QByteArray("01,").repeated(1023) + "01" << "keep" << true << "keep" << "!";
        QTest::newRow("over 1024 bytes") << "\"" + QByteArray(1024, 'a') + "\"" << "old" << false << "" << "";
        QTest::newRow("missing") << QByteArray() << "old" << false << "" << "";
    }

    void getKeyValue()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, before);
        QFETCH(bool, found);
        QFETCH(QString, launcher);
        QFETCH(QString, editor);
        writeRegistry(MsInfo + (value.isEmpty() ? QByteArray() : "\"PATH\"=" + value + "\n"));
        for (auto c : {Configuration::Launcher, Configuration::Editor}) {
            const QString expected = c == Configuration::Launcher ? launcher : editor;
            frmAbout box(c);
            QString keyVal = before;
            if (expected == QLatin1String("!")) {
                QVERIFY_THROWS_EXCEPTION(frmAbout::CutError,
                                         box.GetKeyValue(registry::HKEY_LOCAL_MACHINE, frmAbout::SysInfoKey, "PATH", keyVal));
            } else {
                QCOMPARE(box.GetKeyValue(registry::HKEY_LOCAL_MACHINE, frmAbout::SysInfoKey, "PATH", keyVal), found);
                QCOMPARE(keyVal, expected);
            }
            QCOMPARE(registry::openHandleCount(), 0);
        }
        // A missing key fails the same way as a missing value.
        frmAbout box(Configuration::Launcher);
        QString keyVal = "old";
        QVERIFY(!box.GetKeyValue(registry::HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere", "PATH", keyVal));
        QCOMPARE(keyVal, QString());
    }

    // On the real event loop: the box shown modally, System Info answered by a real
    // message box, then Escape. Nothing is scripted.
    void realEventLoop()
    {
        forms::Form::setModalShowBlocks(true);
        QStringList seen;
        bool asked = false;
        QTimer poll;
        poll.setInterval(50);
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *message = qobject_cast<QMessageBox *>(modal)) {
                seen << message->text();
                message->button(QMessageBox::Ok)->click();
            } else if (auto *box = qobject_cast<frmAbout *>(modal)) {
                if (!asked) {
                    // Queued, so the message's own loop does not run inside this timer.
                    asked = true;
                    QMetaObject::invokeMethod(box->cmdSysInfo, &QPushButton::click, Qt::QueuedConnection);
                } else if (!seen.isEmpty()) {
                    box->activateWindow();
                    QTest::keyClick(box->cmdOK, Qt::Key_Escape);
                }
            }
        });
        poll.start();
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] {
            for (QWidget *w : QApplication::topLevelWidgets())
                w->close();
        });
        guard.start(10000);
        QPointer<frmAbout> box = new frmAbout(Configuration::Launcher);
        box->showModal();
        forms::Form::setModalShowBlocks(false);
        QVERIFY(guard.isActive());   // it ended by itself, not by the guard
        QCOMPARE(seen, QStringList{frmAbout::UnavailableText});
        QTRY_VERIFY(!box);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
