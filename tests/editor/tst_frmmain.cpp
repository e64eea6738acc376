// The editor window: file commands, toolbar, change tracking, clipboard, placement and
// the closing sequence, with scripted message boxes and file dialogs.
#include "editor/frmmain.h"
#include "editor/program.h"
#include "forms/timer.h"
#include "settings/settings.h"
#include "support/sandbox.h"
#include "support/scripted.h"
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScreen>
#include <QtTest>

using editor::frmMain;
using forms::MsgBoxResult::No;
using forms::MsgBoxResult::Yes;

namespace {
const QString Filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.qlt)|*.qlt");
const QString SaveQuestion = QStringLiteral("Are you want Save the Changes?");
const QString ReplaceQuestion = QStringLiteral("Are you want to Replace the existing File?");

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString setting(const char *key)
{
    return settings::getSetting(editor::SettingsApplication, editor::SettingsSection, QLatin1String(key));
}
} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;
    forms::TestClock clock;
    QList<QPointer<frmMain>> windows;
    const qsizetype defaultStep = frmMain::stepSize();

    frmMain *open()
    {
        auto *w = new frmMain;
        windows << w;
        w->showModeless();
        return w;
    }
    // Closes the window as its close box would; true when it really closed.
    bool close(frmMain *w)
    {
        const bool closed = w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }
    QString file(const QString &name) const { return sandbox.path() + QLatin1Char('/') + name; }
    QAction *button(frmMain *w, const QString &key)
    {
        for (QAction *a : w->tbToolBar->actions())
            if (a->data().toString() == key)
                return a;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        forms::setProgram(editor::programInfo());
    }
    void init()
    {
        QFile::remove(settings::settingsFile(editor::SettingsApplication));
        QDir::setCurrent(sandbox.path());
    }
    void cleanup()
    {
        for (const QPointer<frmMain> &w : windows)
            delete w.data();
        windows.clear();
        frmMain::setStepSize(defaultStep);
    }

    void windowAsDesigned();
    void layoutRuleOnEveryResize();
    void placementPersists_data();
    void placementPersists();
    void unusablePlacementFallsBack_data();
    void unusablePlacementFallsBack();
    void openGrowsCaptionAndKeepsDialogName();
    void openOddFiles_data();
    void openOddFiles();
    void saveAndSaveAs();
    void newForgetsPathButKeepsCaption();
    void toolbarKeys_data();
    void toolbarKeys();
    void errorsOnTheMenuAndTheToolbar();
    void closingSequence_data();
    void closingSequence();
    void failedClosingWriteKeepsWindowOpen();
    void unrepresentableCharactersAsk_data();
    void unrepresentableCharactersAsk();
    void keyPressesMarkChanged_data();
    void keyPressesMarkChanged();
    void ctrlAIsSaveAs();
    void clipboardPlainText();
    void largeDocumentsGoInSteps();
};

void TestFrmMain::windowAsDesigned()
{
    frmMain *w = open();
    QCOMPARE(w->caption(), QStringLiteral("Text Editor"));
    QVERIFY(w->Saved);
    QVERIFY(w->DocumentPath.isEmpty());
    QVERIFY(!w->windowIcon().isNull());
    QVERIFY(w->Text1->isHidden());
    QCOMPARE(w->Text1->toPlainText(), QStringLiteral("Text1"));
    QCOMPARE(w->ctrlTextEdit->font().family(), QStringLiteral("Times New Roman"));
    QCOMPARE(w->ctrlTextEdit->font().pointSizeF(), 11.25);
    QVERIFY(QFontInfo(w->ctrlTextEdit->font()).family().contains(QStringLiteral("Serif")));
    QCOMPARE(w->ctrlTextEdit->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(w->ctrlTextEdit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(w->ctrlTextEdit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const QList<std::tuple<QAction *, QString, QString>> items = {
        {w->mnuFileNew, "&New", "Ctrl+N"},     {w->mnuFileOpen, "&Open...", "Ctrl+O"},
        {w->mnuFileSave, "&Save", "Ctrl+S"},   {w->saveas, "Save As", "Ctrl+A"},
        {w->mnuFileExit, "E&xit", "Ctrl+Q"},   {w->cut, "Cu&t", "Ctrl+X"},
        {w->copy, "&Copy", "Ctrl+C"},          {w->paste, "&Paste", "Ctrl+V"},
        {w->mnuHelpAbout, "&About ", ""}};
    for (const auto &[action, caption, key] : items) {
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut().toString(), key);
    }
    QCOMPARE(w->mnuFile->actions().size(), 5);
    QCOMPARE(w->edit->title(), QStringLiteral("&Edit"));

    QStringList keys;
    for (QAction *a : w->tbToolBar->actions()) {
        keys << a->data().toString();
        QCOMPARE(a->toolTip(), a->data().toString());
        const QImage picture = w->imlToolbarIcons->picture(a->data().toString()).toImage();
        QCOMPARE(picture.size(), QSize(16, 16) * picture.devicePixelRatio());
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);   // the light grey corner is masked out
    }
    QCOMPARE(keys, (QStringList{"New", "Open", "Save"}));
    QCOMPARE(w->tbToolBar->height(), 28);
    QCOMPARE(w->sbStatusBar->height(), 18);

    QCOMPARE(w->sbStatusBar->panelText(1), QStringLiteral("Status"));
    QCOMPARE(w->sbStatusBar->panelText(2), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    QVERIFY(!w->sbStatusBar->panelText(3).isEmpty());
    clock.advance(60 * 1000);   // the panels follow the clock
    const QString shown = w->sbStatusBar->panelText(3);
    const QTime now = QTime::currentTime();
    QVERIFY2(shown == QLocale().toString(now, QLocale::ShortFormat)
                 || shown == QLocale().toString(now.addSecs(-1), QLocale::ShortFormat),
             qPrintable(shown));
}

void TestFrmMain::layoutRuleOnEveryResize()
{
    frmMain *w = open();
    for (const QSize size : {QSize(400, 300), QSize(900, 700), QSize(200, 60)}) {
        w->resize(size);
        const QRect inner = w->innerArea();
        QCOMPARE(inner.width(), size.width());
        QCOMPARE(w->ctrlTextEdit->geometry(),
                 QRect(0, 28, inner.width(), qMax(0, inner.height() - 28)));
        QCOMPARE(w->tbToolBar->geometry(), QRect(0, 0, inner.width(), 28));
        QCOMPARE(w->sbStatusBar->geometry(), QRect(0, inner.height() - 18, inner.width(), 18));
    }
}

void TestFrmMain::placementPersists_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("normal") << int(forms::WindowState::Normal);
    QTest::newRow("minimized") << int(forms::WindowState::Minimized);
    QTest::newRow("maximized") << int(forms::WindowState::Maximized);
}

void TestFrmMain::placementPersists()
{
    QFETCH(int, state);
    // First run: the defaults.
    frmMain *w = open();
    QVERIFY(qAbs(w->leftTwips() - 1000) < 15 && qAbs(w->topTwips() - 1000) < 15);
    QVERIFY(qAbs(w->widthTwips() - 6500) < 15 && qAbs(w->heightTwips() - 6500) < 15);
    w->setOuterGeometryTwips(1500, 1200, 7500, 5250);
    QVERIFY(close(w));
    QCOMPARE(setting("MainLeft"), QStringLiteral("1500"));
    QCOMPARE(setting("MainHeight"), QStringLiteral("5250"));

    w = open();
    QCOMPARE(w->frameGeometry(), QRect(100, 80, 500, 350));
    w->setWindowStateValue(forms::WindowState(state));
    QTRY_COMPARE(int(w->windowStateValue()), state);
    // The bounds the window has in that state (the offscreen platform leaves a maximized
    // window's size to a window manager, so here they are the normal ones).
    const QRect bounds = w->frameGeometry();
    QVERIFY(close(w));

    const QStringList stored = {setting("MainLeft"), setting("MainTop"), setting("MainWidth"), setting("MainHeight")};
    if (state == int(forms::WindowState::Minimized)) {
        QCOMPARE(stored, (QStringList{"1500", "1200", "7500", "5250"}));   // left as it was
        return;
    }
    QCOMPARE(stored, (QStringList{QString::number(bounds.left() * 15), QString::number(bounds.top() * 15),
                                  QString::number(bounds.width() * 15), QString::number(bounds.height() * 15)}));
    // The next start shows a normal window with those bounds.
    w = open();
    QCOMPARE(w->windowStateValue(), forms::WindowState::Normal);
    QCOMPARE(w->frameGeometry(), bounds);
}

void TestFrmMain::unusablePlacementFallsBack_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("not numbers") << QStringList{"left", "", "7500", "x"} << QRect(67, 67, 500, 433);
    QTest::newRow("fractions and exponents") << QStringList{"1500.4", "1.2E3", "7500", "5250"}
                                             << QRect(100, 80, 500, 350);
    QTest::newRow("off every screen") << QStringList{"9000000", "-9000000", "7500", "5250"}
                                      << QRect(67, 67, 500, 350);
    QTest::newRow("no size") << QStringList{"1500", "1500", "0", "-30"} << QRect(100, 100, 433, 433);
}

void TestFrmMain::unusablePlacementFallsBack()
{
    QFETCH(QStringList, stored);
    QFETCH(QRect, expected);
    const char *keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < 4; ++i)
        settings::saveSetting(editor::SettingsApplication, editor::SettingsSection, QLatin1String(keys[i]), stored[i]);
    frmMain *w = open();
    QCOMPARE(w->frameGeometry(), expected);
}

void TestFrmMain::openGrowsCaptionAndKeepsDialogName()
{
    const QString first = sandbox.writeFile(QStringLiteral("first.qlt"), "\"one\"\r\n");
    const QString second = sandbox.writeFile(QStringLiteral("second.txt"), "a , b,c\r\n");
    frmMain *w = open();
    tavtest::ScriptedFileDialogs dialogs;
    dialogs.choose(first);
    dialogs.choose(second);
    w->Open();
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("one\n"));
    QVERIFY(!w->Saved);   // loading is a change
    w->Open();
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("a\nb\nc\n"));
    QCOMPARE(w->DocumentPath, second);
    QCOMPARE(w->caption(), QStringLiteral("Text Editor[ %1 ][ %2 ]").arg(first, second));

    QCOMPARE(dialogs.shown.size(), 2);
    for (const forms::FileDialogRequest &r : dialogs.shown) {
        QCOMPARE(r.mode, forms::FileDialogRequest::Open);
        QCOMPARE(r.title, QStringLiteral("Open"));
        QCOMPARE(r.filter, Filter);
        QCOMPARE(r.filterIndex, 1);
        QVERIFY(!r.fileMustExist);
        QVERIFY(!r.confirmOverwrite);
    }
    QCOMPARE(dialogs.shown[0].fileName, QString());
    QCOMPARE(dialogs.shown[1].fileName, first);   // the last name chosen

    // Cancelled: nothing changes, and the name field still holds the last choice.
    dialogs.cancel();
    w->Open();
    QCOMPARE(dialogs.shown[2].fileName, second);
    QCOMPARE(w->DocumentPath, second);
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("a\nb\nc\n"));
}

void TestFrmMain::openOddFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("quote in the text") << QByteArray("\"say \"hi\" now\"\r\n") << QStringLiteral("say hi\" now\"\n");
    QTest::newRow("multi-line field") << QByteArray("\"a\r\nb, c\"\r\n") << QStringLiteral("a\nb, c\n");
    QTest::newRow("NUL, lone CR and LF") << QByteArray("x\0y\ra\n\"q", 8) << QStringLiteral("x%1y\na\nq\n").arg(QChar(0));
    QTest::newRow("code page") << QByteArray("\x80\xE9\x9D") << QStringLiteral("\u20AC\u00E9\u009D\n");
}

void TestFrmMain::openOddFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = sandbox.writeFile(QStringLiteral("odd.qlt"), bytes);
    frmMain *w = open();
    tavtest::ScriptedFileDialogs dialogs;
    tavtest::ScriptedMsgBoxes boxes;
    dialogs.choose(path);
    w->Open();
    QCOMPARE(boxes.shown.size(), 0);
    QCOMPARE(w->ctrlTextEdit->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')), text);
    QCOMPARE(w->caption(), QStringLiteral("Text Editor[ %1 ]").arg(path));
}

void TestFrmMain::saveAndSaveAs()
{
    frmMain *w = open();
    tavtest::ScriptedFileDialogs dialogs;
    w->ctrlTextEdit->setPlainText(QStringLiteral("first"));

    // Save without a path asks; a cancel writes nothing and leaves the state alone.
    dialogs.cancel();
    w->Save();
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].mode, forms::FileDialogRequest::Save);
    QCOMPARE(dialogs.shown[0].title, QStringLiteral("Save"));
    QCOMPARE(dialogs.shown[0].filter, Filter);
    QVERIFY(!dialogs.shown[0].confirmOverwrite);
    QVERIFY(w->DocumentPath.isEmpty());
    QVERIFY(!w->Saved);

    const QString path = file(QStringLiteral("doc.qlt"));
    dialogs.choose(path);
    w->Save();
    QCOMPARE(contents(path), QByteArray("\"first\"\r\n"));
    QCOMPARE(w->DocumentPath, path);
    QVERIFY(w->Saved);

    // With a path, Save replaces the file at once.
    w->ctrlTextEdit->setPlainText(QStringLiteral("second"));
    w->Save();
    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(contents(path), QByteArray("\"second\"\r\n"));
    QCOMPARE(QDir(sandbox.path()).entryList({QStringLiteral("doc*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("doc.qlt")});

    // Save As forgets the path first; cancelled, the next Save asks.
    w->ctrlTextEdit->setPlainText(QStringLiteral("third"));
    dialogs.cancel();
    w->SaveFileAs();
    QCOMPARE(dialogs.shown.size(), 3);
    QCOMPARE(dialogs.shown[2].title, QStringLiteral("Save"));
    QCOMPARE(dialogs.shown[2].fileName, path);
    QVERIFY(w->DocumentPath.isEmpty());
    QVERIFY(!w->Saved);
    const QString other = file(QStringLiteral("other.qlt"));
    dialogs.choose(other);
    w->Save();
    QCOMPARE(dialogs.shown.size(), 4);
    QCOMPARE(contents(other), QByteArray("\"third\"\r\n"));
    QCOMPARE(contents(path), QByteArray("\"second\"\r\n"));

    // Save As to a new name.
    const QString third = file(QStringLiteral("third"));   // no extension is added
    dialogs.choose(third);
    w->SaveFileAs();
    QCOMPARE(w->DocumentPath, third);
    QCOMPARE(contents(third), QByteArray("\"third\"\r\n"));
    QVERIFY(w->Saved);
}

void TestFrmMain::newForgetsPathButKeepsCaption()
{
    const QString path = sandbox.writeFile(QStringLiteral("n.qlt"), "\"text\"\r\n");
    frmMain *w = open();
    tavtest::ScriptedFileDialogs dialogs;
    w->New();   // on an empty text nothing changes
    QVERIFY(w->Saved);
    dialogs.choose(path);
    w->Open();
    const QString caption = w->caption();
    dialogs.choose(path);
    w->Save();
    QVERIFY(w->Saved);
    w->New();
    QVERIFY(!w->Saved);
    QVERIFY(w->ctrlTextEdit->toPlainText().isEmpty());
    QVERIFY(w->DocumentPath.isEmpty());
    QCOMPARE(w->caption(), caption);
    dialogs.cancel();
    w->Save();
    QCOMPARE(dialogs.shown.last().title, QStringLiteral("Save"));
}

void TestFrmMain::toolbarKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("dialogTitle");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("New") << "New" << QString() << true;
    QTest::newRow("Open") << "Open" << "Open" << false;
    QTest::newRow("Save") << "Save" << "Save" << false;
    QTest::newRow("new") << "new" << QString() << false;
    QTest::newRow("OPEN") << "OPEN" << QString() << false;
    QTest::newRow("Save with a blank") << "Save " << QString() << false;
    QTest::newRow("no key") << QString() << QString() << false;
}

void TestFrmMain::toolbarKeys()
{
    QFETCH(QString, key);
    QFETCH(QString, dialogTitle);
    QFETCH(bool, cleared);
    frmMain *w = open();
    tavtest::ScriptedFileDialogs dialogs;
    w->ctrlTextEdit->setPlainText(QStringLiteral("kept"));
    QAction other(key);
    other.setData(key);
    QAction *b = button(w, key);
    w->tbToolBar_ButtonClick(b ? b : &other);
    QCOMPARE(dialogs.shown.size(), dialogTitle.isEmpty() ? 0 : 1);
    if (!dialogTitle.isEmpty())
        QCOMPARE(dialogs.shown[0].title, dialogTitle);
    QCOMPARE(w->ctrlTextEdit->toPlainText().isEmpty(), cleared);
    if (b) {   // a real button runs the same through its click
        b->trigger();
        QCOMPARE(dialogs.shown.size(), dialogTitle.isEmpty() ? 0 : 2);
    }
}

void TestFrmMain::errorsOnTheMenuAndTheToolbar()
{
    const QString missing = file(QStringLiteral("missing.qlt"));
    const QString unwritable = file(QStringLiteral("missing-folder/doc.qlt"));
    frmMain *w = open();
    tavtest::ScriptedFileDialogs dialogs;
    tavtest::ScriptedMsgBoxes boxes;
    w->ctrlTextEdit->setPlainText(QStringLiteral("mine"));

    // The toolbar stops silently at the failing step; what was done stays done.
    dialogs.choose(missing);
    button(w, QStringLiteral("Open"))->trigger();
    QCOMPARE(boxes.shown.size(), 0);
    QCOMPARE(w->DocumentPath, missing);
    QCOMPARE(w->caption(), QStringLiteral("Text Editor"));
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("mine"));

    w->DocumentPath.clear();
    dialogs.choose(unwritable);
    button(w, QStringLiteral("Save"))->trigger();
    QCOMPARE(boxes.shown.size(), 0);
    QCOMPARE(w->DocumentPath, unwritable);
    QVERIFY(!w->Saved);

    // The menu says what went wrong, and the document keeps the path it had.
    w->DocumentPath.clear();
    dialogs.choose(missing);
    w->Open();
    QCOMPARE(boxes.shown.size(), 1);
    QVERIFY(boxes.shown[0].text.contains(missing));
    QCOMPARE(boxes.shown[0].buttons, int(forms::MsgBoxStyle::Critical));
    QVERIFY(w->DocumentPath.isEmpty());
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("mine"));

    dialogs.choose(unwritable);
    w->Save();
    QCOMPARE(boxes.shown.size(), 2);
    QVERIFY(boxes.shown[1].text.contains(QStringLiteral("could not be saved")));
    QVERIFY(w->DocumentPath.isEmpty());
    QVERIFY(!w->Saved);

    const QString good = file(QStringLiteral("good.qlt"));
    dialogs.choose(good);
    w->Save();
    dialogs.choose(unwritable);
    w->SaveFileAs();
    QCOMPARE(boxes.shown.size(), 3);
    QCOMPARE(w->DocumentPath, good);   // Save goes on to the file that works
    QVERIFY(w->Saved);   // the text on disk in good.qlt is still this text
}

void TestFrmMain::closingSequence_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("hasPath");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("dialogChoice");   // empty: cancel
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QString>("written");        // the file that gets the text, if any

    QTest::newRow("unchanged asks nothing") << false << false << QList<int>{} << QString() << QStringList{}
                                            << QString();
    QTest::newRow("No loses the changes") << true << false << QList<int>{No} << QString()
                                          << QStringList{SaveQuestion} << QString();
    QTest::newRow("Yes without a path asks for a name") << true << false << QList<int>{Yes} << "chosen.qlt"
                                                        << QStringList{SaveQuestion} << "chosen.qlt";
    QTest::newRow("cancelled dialog writes default.qlt") << true << false << QList<int>{Yes} << QString()
                                                         << QStringList{SaveQuestion} << "default.qlt";
    QTest::newRow("No to replacing") << true << true << QList<int>{Yes, No} << QString()
                                     << QStringList{SaveQuestion, ReplaceQuestion} << QString();
    QTest::newRow("Yes to replacing") << true << true << QList<int>{Yes, Yes} << QString()
                                      << QStringList{SaveQuestion, ReplaceQuestion} << "existing.qlt";
}

void TestFrmMain::closingSequence()
{
    QFETCH(bool, changed);
    QFETCH(bool, hasPath);
    QFETCH(QList<int>, answers);
    QFETCH(QString, dialogChoice);
    QFETCH(QStringList, questions);
    QFETCH(QString, written);
    QTemporaryDir cwd;
    QDir::setCurrent(cwd.path());
    QFile::remove(file(QStringLiteral("chosen.qlt")));
    const QString existing = sandbox.writeFile(QStringLiteral("existing.qlt"), "\"old\"\r\n");

    QPointer<frmMain> w = open();
    tavtest::ScriptedFileDialogs dialogs;
    tavtest::ScriptedMsgBoxes boxes;
    if (changed)
        w->ctrlTextEdit->setPlainText(QStringLiteral("new text"));
    if (hasPath)
        w->DocumentPath = existing;
    for (int a : answers)
        boxes.answer(a);
    if (!dialogChoice.isEmpty())
        dialogs.choose(file(dialogChoice));
    else
        dialogs.cancel();

    w->mnuFileExit->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!w);   // the window always closes
    QCOMPARE(boxes.texts(), questions);
    for (const forms::MsgBoxRequest &r : boxes.shown) {
        QCOMPARE(r.title, QStringLiteral("Quillet"));
        QCOMPARE(r.buttons, 324);
        QCOMPARE(r.helpFile, QString());
        QCOMPARE(r.context, 1000);
    }
    QCOMPARE(setting("MainLeft").isEmpty(), false);

    const bool dialogUsed = changed && !hasPath && answers.value(0) == Yes;
    QCOMPARE(dialogs.shown.size(), dialogUsed ? 1 : 0);
    if (dialogUsed)
        QCOMPARE(dialogs.shown[0].fileName, QStringLiteral("default.qlt"));

    QCOMPARE(contents(existing), written == QLatin1String("existing.qlt") ? QByteArray("\"new text\"\r\n")
                                                                         : QByteArray("\"old\"\r\n"));
    const QString chosen = file(QStringLiteral("chosen.qlt"));
    QCOMPARE(QFile::exists(chosen), written == QLatin1String("chosen.qlt"));
    QCOMPARE(QFile::exists(cwd.filePath(QStringLiteral("default.qlt"))), written == QLatin1String("default.qlt"));
    if (written == QLatin1String("default.qlt"))
        QCOMPARE(contents(cwd.filePath(QStringLiteral("default.qlt"))), QByteArray("\"new text\"\r\n"));
    QDir::setCurrent(sandbox.path());
}

void TestFrmMain::failedClosingWriteKeepsWindowOpen()
{
    frmMain *w = open();
    tavtest::ScriptedMsgBoxes boxes;
    tavtest::ScriptedFileDialogs dialogs;
    w->ctrlTextEdit->setPlainText(QStringLiteral("precious"));
    w->DocumentPath = file(QStringLiteral("no-such-folder/doc.qlt"));
    boxes.answer(Yes);
    boxes.answer(Yes);
    QVERIFY(!close(w));
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(boxes.shown.size(), 3);
    QVERIFY(boxes.shown[2].text.contains(QStringLiteral("could not be saved")));
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("precious"));

    // The same without a path: the save dialog's name cannot be written either.
    w->DocumentPath.clear();
    boxes.clear();
    boxes.answer(Yes);
    dialogs.choose(file(QStringLiteral("no-such-folder/chosen.qlt")));
    QVERIFY(!close(w));
    QCOMPARE(boxes.shown.size(), 2);

    // Then the user saves elsewhere and closes.
    boxes.clear();
    boxes.answer(Yes);
    dialogs.choose(file(QStringLiteral("rescued.qlt")));
    QVERIFY(close(w));
    QCOMPARE(contents(file(QStringLiteral("rescued.qlt"))), QByteArray("\"precious\"\r\n"));
}

void TestFrmMain::unrepresentableCharactersAsk_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("No writes nothing") << No;
    QTest::newRow("Yes writes question marks") << Yes;
}

void TestFrmMain::unrepresentableCharactersAsk()
{
    QFETCH(int, answer);
    frmMain *w = open();
    tavtest::ScriptedFileDialogs dialogs;
    tavtest::ScriptedMsgBoxes boxes;
    w->ctrlTextEdit->setPlainText(QStringLiteral("caf\u00E9\n\u03B1\u03B2"));
    const QString path = file(QStringLiteral("greek.qlt"));
    dialogs.choose(path);
    boxes.answer(answer);
    w->Save();
    QCOMPARE(boxes.shown.size(), 1);
    QVERIFY(boxes.shown[0].text.contains(QStringLiteral("\u03B1")));
    QVERIFY(boxes.shown[0].text.contains(QStringLiteral("line 2")));
    QCOMPARE(boxes.shown[0].buttons & 0x7F, int(forms::MsgBoxStyle::YesNo | forms::MsgBoxStyle::Exclamation));
    if (answer == No) {
        QVERIFY(!QFile::exists(path));
        QVERIFY(!w->Saved);
        QVERIFY(w->DocumentPath.isEmpty());
    } else {
        QCOMPARE(contents(path), QByteArray("\"caf\xE9\r\n??\"\r\n"));
        QVERIFY(w->Saved);
    }

    // Declined while closing, the window stays open with the text.
    boxes.clear();
    boxes.answer(Yes);   // save the changes
    boxes.answer(Yes);   // replace
    boxes.answer(No);    // not with question marks
    w->ctrlTextEdit->appendPlainText(QStringLiteral("\u03B3"));
    w->DocumentPath = path;
    QVERIFY(!close(w));
    QCOMPARE(boxes.shown.size(), 3);
    QVERIFY(w->isVisible());
}

void TestFrmMain::keyPressesMarkChanged_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("text");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << true << "abc";
    QTest::newRow("Backspace at the start") << int(Qt::Key_Backspace) << true << "abc";
    QTest::newRow("a letter") << int(Qt::Key_X) << true << "xabc";
    QTest::newRow("arrow") << int(Qt::Key_Right) << false << "abc";
    QTest::newRow("Shift") << int(Qt::Key_Shift) << false << "abc";
}

void TestFrmMain::keyPressesMarkChanged()
{
    QFETCH(int, key);
    QFETCH(bool, changed);
    QFETCH(QString, text);
    frmMain *w = open();
    w->ctrlTextEdit->setPlainText(QStringLiteral("abc"));
    w->ctrlTextEdit->moveCursor(QTextCursor::Start);
    w->Saved = true;
    QTest::keyClick(w->ctrlTextEdit, Qt::Key(key));
    QCOMPARE(w->Saved, !changed);
    QCOMPARE(w->ctrlTextEdit->toPlainText(), text);
}

void TestFrmMain::ctrlAIsSaveAs()
{
    frmMain *w = open();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->ctrlTextEdit->setFocus();
    tavtest::ScriptedFileDialogs dialogs;
    QTest::keyClicks(w->ctrlTextEdit, QStringLiteral("words"));
    w->DocumentPath = file(QStringLiteral("before.qlt"));
    dialogs.cancel();
    QTest::keyClick(w->ctrlTextEdit, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].title, QStringLiteral("Save"));
    QVERIFY(w->DocumentPath.isEmpty());   // Save As forgot it
    QVERIFY(!w->ctrlTextEdit->textCursor().hasSelection());
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("words"));

    // The other file keys reach the menus too.
    dialogs.cancel();
    QTest::keyClick(w->ctrlTextEdit, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(dialogs.shown[1].title, QStringLiteral("Open"));
}

void TestFrmMain::clipboardPlainText()
{
    frmMain *w = open();
    QClipboard *clipboard = QGuiApplication::clipboard();
    w->ctrlTextEdit->setPlainText(QStringLiteral("one\ntwo\nthree"));

    clipboard->setText(QStringLiteral("left over"));
    w->Copy();   // nothing selected: the clipboard holds the empty text
    QCOMPARE(clipboard->text(), QString());

    QTextCursor c = w->ctrlTextEdit->textCursor();
    c.setPosition(2);
    c.setPosition(6, QTextCursor::KeepAnchor);
    w->ctrlTextEdit->setTextCursor(c);
    w->Saved = true;
    w->Cut();
    QCOMPARE(clipboard->text(), QStringLiteral("e\ntw"));
    QVERIFY(!clipboard->mimeData()->hasHtml());
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("ono\nthree"));
    QVERIFY(!w->Saved);

    w->Paste();
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("one\ntwo\nthree"));

    // Only plain text counts: with none, Paste deletes the selection.
    auto *html = new QMimeData;
    html->setHtml(QStringLiteral("<b>bold</b>"));
    clipboard->setMimeData(html);
    c = w->ctrlTextEdit->textCursor();
    c.setPosition(0);
    c.setPosition(4, QTextCursor::KeepAnchor);
    w->ctrlTextEdit->setTextCursor(c);
    w->Paste();
    QCOMPARE(w->ctrlTextEdit->toPlainText(), QStringLiteral("two\nthree"));
}

void TestFrmMain::largeDocumentsGoInSteps()
{
    frmMain::setStepSize(1000);
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("line %1 of a document that is read and written in steps\n").arg(i);
    QByteArray bytes = "\"" + text.toLatin1().replace("\n", "\r\n") + "\"\r\n";
    const QString path = sandbox.writeFile(QStringLiteral("big.qlt"), bytes);
    frmMain *w = open();
    tavtest::ScriptedFileDialogs dialogs;
    QSignalSpy opened(w, &frmMain::documentOpened);
    dialogs.choose(path);
    w->Open();
    QVERIFY(w->isBusy());
    QVERIFY(w->ctrlTextEdit->isReadOnly());
    QVERIFY(!w->mnuFileSave->isEnabled());
    w->Save();   // waits its turn: nothing happens meanwhile
    QCOMPARE(dialogs.shown.size(), 1);
    QTRY_VERIFY(!w->isBusy());
    QCOMPARE(opened.size(), 1);
    QCOMPARE(w->ctrlTextEdit->toPlainText(), text + QLatin1Char('\n'));
    QVERIFY(!w->ctrlTextEdit->isReadOnly());
    QCOMPARE(w->caption(), QStringLiteral("Text Editor[ %1 ]").arg(path));

    // Saving in steps gives the same bytes as saving at once.
    QSignalSpy written(w, &frmMain::documentWritten);
    w->Save();
    QVERIFY(w->isBusy());
    QTRY_COMPARE(written.size(), 1);
    QVERIFY(!w->isBusy());
    QVERIFY(w->Saved);
    QCOMPARE(contents(path), w->documentBytes());
    QCOMPARE(contents(path), "\"" + (text + "\n").toLatin1().replace("\n", "\r\n") + "\"\r\n");

    // Closing while a load is under way completes it first, then asks.
    tavtest::ScriptedMsgBoxes boxes;
    dialogs.choose(path);
    w->Open();
    QVERIFY(w->isBusy());
    QVERIFY(close(w));
    QCOMPARE(boxes.texts(), QStringList{SaveQuestion});
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
