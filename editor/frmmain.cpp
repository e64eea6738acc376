#include "editor/frmmain.h"
#include "editor/docformat.h"
#include "editor/documentfile.h"
#include "editor/program.h"
#include "about/frmabout.h"
#include "forms/msgbox.h"
#include "forms/pictures.h"
#include "forms/program.h"
#include "settings/settings.h"
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QThread>
#include <QElapsedTimer>
#include <QTimer>
#include <QToolButton>

namespace editor {

namespace {

const QString DialogFilter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.qlt)|*.qlt");
const QString ClosingTitle = QStringLiteral("Quillet");
constexpr int ClosingButtons = forms::MsgBoxStyle::YesNo | forms::MsgBoxStyle::Information
                               | forms::MsgBoxStyle::DefaultButton2;   // 324
constexpr int ClosingContext = 1000;
constexpr int ToolbarHeight = 420;
constexpr int StatusBarHeight = 270;

qsizetype g_stepSize = 128 * 1024;
// How long one step of a long load or save may keep the window from other work.
constexpr qint64 StepMilliseconds = 30;

std::u16string_view view(const QString &s)
{
    return {reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size())};
}

struct Placement {
    const char *key;
    int fallback;
};
constexpr Placement PlacementKeys[4] = {
    {"MainLeft", 1000}, {"MainTop", 1000}, {"MainWidth", 6500}, {"MainHeight", 6500}};

} // namespace

// A load or save that runs a step at a time.
struct frmMain::Job {
    enum Kind { Read, Load, Encode, Write };
    Kind kind = Read;
    int serial = 0;
    bool stepwise = false;
    QThread *thread = nullptr;
    QString path;
    // Read and Load
    QString previous;
    Errors errors = Errors::Report;
    ReadResult read;
    QString text;
    qsizetype position = 0;
    // Encode and Write
    format::Writer writer;
    QTextBlock block;
    bool firstBlock = true;
    std::string encoded;
    QByteArray bytes;      // the encoded bytes, not copied
    WriteResult written;
    WriteDone done;
};

frmMain::frmMain(QWidget *parent) : forms::Form(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setCaption(forms::program().title);
    setWindowIcon(forms::icon(QStringLiteral(":/appicon/appicon.svg")));
    setBorderStyle(forms::BorderStyle::Sizable);
    setClientSizeTwips(4680, 3195);

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    auto item = [this](QMenu *menu, const char *name, const QString &caption, const QKeySequence &key) {
        auto *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        addAction(action);   // the shortcut works wherever the focus is in the window
        return action;
    };
    mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileNew = item(mnuFile, "mnuFileNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpen = item(mnuFile, "mnuFileOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSave = item(mnuFile, "mnuFileSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    saveas = item(mnuFile, "saveas", QStringLiteral("Save As"), QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuFileExit = item(mnuFile, "mnuFileExit", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    edit = menuBar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("edit"));
    cut = item(edit, "cut", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    copy = item(edit, "copy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    paste = item(edit, "paste", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuHelp = menuBar->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", QStringLiteral("&About "), QKeySequence());

    m_inner = new QWidget(this);
    m_inner->setObjectName(QStringLiteral("innerArea"));

    imlToolbarIcons = new ImageList(this, 0x00C0C0C0);
    for (const char *key : {"New", "Open", "Save"}) {
        const QString k = QLatin1String(key);
        imlToolbarIcons->add(k, forms::picture(QStringLiteral(":/editor/%1.svg").arg(k.toLower()), QSize(16, 16)));
    }

    tbToolBar = new QToolBar(m_inner);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setAccessibleName(QStringLiteral("Toolbar"));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(QSize(16, 16));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbToolBar->setGeometry(0, 0, 0, forms::px(ToolbarHeight));
    for (const char *key : {"New", "Open", "Save"}) {
        const QString k = QLatin1String(key);
        QAction *button = tbToolBar->addAction(QIcon(imlToolbarIcons->picture(k)), k);
        button->setObjectName(QStringLiteral("tb") + k);
        button->setData(k);
        button->setToolTip(k);
        if (QWidget *w = tbToolBar->widgetForAction(button))
            w->setFixedSize(forms::px(345), forms::px(330));
    }

    ctrlTextEdit = new TextArea(m_inner, QStringLiteral("ctrlTextEdit"));
    forms::setFont(ctrlTextEdit, QStringLiteral("Times New Roman"), 11.25);
    ctrlTextEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    ctrlTextEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ctrlTextEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QList<QKeySequence> menuKeys;
    for (QAction *a : actions())
        if (!a->shortcut().isEmpty())
            menuKeys << a->shortcut();
    ctrlTextEdit->setMenuShortcuts(menuKeys);

    sbStatusBar = new StatusBar(m_inner, QStringLiteral("sbStatusBar"));

    dlgCommonDialog = new CommonDialog(this);

    // Each step of a long load or save comes from a timer, so input, painting and other
    // timers are served between steps.
    m_stepTimer = new QTimer(this);
    m_stepTimer->setSingleShot(true);
    m_stepTimer->setInterval(0);
    connect(m_stepTimer, &QTimer::timeout, this, [this] {
        if (m_job && m_job->kind == Job::Load)
            loadStep();
        else if (m_job && m_job->kind == Job::Encode)
            encodeStep();
    });

    Text1 = new forms::MultiLineTextBox(m_inner, QStringLiteral("Text1"), QStringLiteral("Text1"),
                                        {360, 3240, 1695, 855});
    Text1->setPlainText(QStringLiteral("Text1"));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    connect(mnuFileNew, &QAction::triggered, this, &frmMain::New);
    connect(mnuFileOpen, &QAction::triggered, this, &frmMain::Open);
    connect(mnuFileSave, &QAction::triggered, this, &frmMain::Save);
    connect(saveas, &QAction::triggered, this, &frmMain::SaveFileAs);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::unload);
    connect(cut, &QAction::triggered, this, &frmMain::Cut);
    connect(copy, &QAction::triggered, this, &frmMain::Copy);
    connect(paste, &QAction::triggered, this, &frmMain::Paste);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::showAbout);
    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmMain::tbToolBar_ButtonClick);
    connect(ctrlTextEdit, &QPlainTextEdit::textChanged, this, [this] { Saved = false; });
    connect(ctrlTextEdit, &TextArea::keyPress, this, [this](int keyAscii) {
        if (keyAscii > 0 && keyAscii < 1000)
            Saved = false;
    });

    ctrlTextEdit->setFocus();
    formResize();
}

frmMain::~frmMain()
{
    // Normally nothing is pending here: closing completes it first.
    if (m_job && m_job->thread) {
        m_job->thread->wait();
        delete m_job->thread;
    }
}

void frmMain::setStepSize(qsizetype characters) { g_stepSize = qMax<qsizetype>(1, characters); }
qsizetype frmMain::stepSize() { return g_stepSize; }

// ---- Load, layout, placement

void frmMain::formLoad()
{
    Saved = true;
    applyStoredPlacement();
    Text1->hide();
}

void frmMain::applyStoredPlacement()
{
    float values[4];
    for (int i = 0; i < 4; ++i) {
        const QString fallback = QString::number(PlacementKeys[i].fallback);
        bool ok = false;
        values[i] = settings::getSetting(SettingsApplication, SettingsSection,
                                         QLatin1String(PlacementKeys[i].key), fallback)
                        .toFloat(&ok);
        if (!ok || !qIsFinite(values[i]) || qAbs(values[i]) > 1e7f)
            values[i] = float(PlacementKeys[i].fallback);
    }
    if (values[2] < 1 || values[3] < 1) {
        values[2] = float(PlacementKeys[2].fallback);
        values[3] = float(PlacementKeys[3].fallback);
    }
    // A window that would lie wholly off every screen comes back to the default corner.
    const QRect wanted(forms::px(values[0]), forms::px(values[1]), forms::px(values[2]), forms::px(values[3]));
    bool visible = QGuiApplication::screens().isEmpty();
    for (QScreen *s : QGuiApplication::screens())
        visible = visible || s->availableGeometry().intersects(wanted);
    if (!visible) {
        values[0] = float(PlacementKeys[0].fallback);
        values[1] = float(PlacementKeys[1].fallback);
    }
    setOuterGeometryTwips(qRound(values[0]), qRound(values[1]), qRound(values[2]), qRound(values[3]));
}

void frmMain::savePlacement()
{
    if (windowStateValue() == forms::WindowState::Minimized)
        return;
    const int values[4] = {leftTwips(), topTwips(), widthTwips(), heightTwips()};
    QList<std::pair<QString, QString>> placement;
    for (int i = 0; i < 4; ++i)
        placement.append({QLatin1String(PlacementKeys[i].key), QString::number(values[i])});
    settings::saveSettings(SettingsApplication, SettingsSection, placement);
}

QRect frmMain::innerArea() const { return m_inner->geometry(); }

void frmMain::formResize()
{
    const int menuHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, width(), menuHeight);
    m_inner->setGeometry(0, menuHeight, width(), qMax(0, height() - menuHeight));
    const int innerWidth = m_inner->width(), innerHeight = m_inner->height();
    // The toolbar and the status bar keep to their edges.
    tbToolBar->setGeometry(0, 0, innerWidth, forms::px(ToolbarHeight));
    sbStatusBar->setGeometry(0, innerHeight - forms::px(StatusBarHeight), innerWidth, forms::px(StatusBarHeight));
    // The text area: below the toolbar, down to the bottom of the inner area.
    ctrlTextEdit->setGeometry(0, tbToolBar->height(), innerWidth, qMax(0, innerHeight - tbToolBar->height()));
    sbStatusBar->raise();
}

// ---- Closing

void frmMain::formUnload()
{
    finishPendingWork();
    if (m_job) {
        cancelUnload();   // a question of the save in progress is still open
        return;
    }

    // Other windows of the program close first, the most recent first.
    QList<QPointer<forms::Form>> others;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *form = qobject_cast<forms::Form *>(w);
        if (form && form != this && form->isVisible())
            others.prepend(form);
    }
    for (const QPointer<forms::Form> &form : others)
        if (form)
            form->unload();

    savePlacement();
    if (Saved)
        return;
    if (forms::msgBox(QStringLiteral("Are you want Save the Changes?"), ClosingButtons, ClosingTitle,
                      QString(), ClosingContext, this)
        != forms::MsgBoxResult::Yes)
        return;
    if (DocumentPath.isEmpty()) {
        if (!SaveOnClose())
            cancelUnload();
        return;
    }
    if (forms::msgBox(QStringLiteral("Are you want to Replace the existing File?"), ClosingButtons,
                      ClosingTitle, QString(), ClosingContext, this)
        != forms::MsgBoxResult::Yes)
        return;
    const QString path = DocumentPath;
    WriteDocument(path, false, [this, path](Outcome outcome, const QString &error) {
        if (outcome == Outcome::Written)
            return;
        if (outcome == Outcome::Failed)
            reportWriteError(path, error,
                             QStringLiteral("The window stays open so that you can save the document elsewhere."));
        cancelUnload();
    });
}

// ---- File commands

void frmMain::prepareDialog(const QString &title)
{
    dlgCommonDialog->DialogTitle = title;
    dlgCommonDialog->CancelError = false;
    dlgCommonDialog->Filter = DialogFilter;
}

void frmMain::New()
{
    if (!isBusy())
        newDocument();
}

void frmMain::newDocument()
{
    // Emptying a text that is already empty changes nothing.
    if (!ctrlTextEdit->document()->isEmpty())
        ctrlTextEdit->clear();
    DocumentPath.clear();
}

void frmMain::Open() { openDocument(Errors::Report); }
void frmMain::Save() { saveDocument(Errors::Report); }

void frmMain::tbToolBar_ButtonClick(QAction *button)
{
    if (!button)
        return;
    const QString key = button->data().toString();
    if (key == QLatin1String("New"))
        New();
    else if (key == QLatin1String("Open"))
        openDocument(Errors::Ignore);
    else if (key == QLatin1String("Save"))
        saveDocument(Errors::Ignore);
}

void frmMain::openDocument(Errors errors)
{
    if (isBusy())
        return;
    prepareDialog(QStringLiteral("Open"));
    if (!dlgCommonDialog->ShowOpen() || dlgCommonDialog->FileName.isEmpty())
        return;
    const QString previous = DocumentPath;
    DocumentPath = dlgCommonDialog->FileName;
    const QString path = DocumentPath;

    if (QFileInfo(path).size() <= g_stepSize) {
        readFinished(readDocumentFile(path), path, previous, errors);
        return;
    }
    // A large file is read and decoded away from the window's thread.
    m_job = std::make_unique<Job>();
    m_job->kind = Job::Read;
    m_job->stepwise = true;
    m_job->path = path;
    m_job->previous = previous;
    m_job->errors = errors;
    setBusy(true);
    runJobThread([](Job &job) { job.read = readDocumentFile(job.path); });
}

void frmMain::runJobThread(void (*work)(Job &))
{
    static int serials = 0;
    Job *job = m_job.get();
    job->serial = ++serials;
    const Job::Kind kind = job->kind;
    const int serial = job->serial;
    job->thread = QThread::create([job, work] { work(*job); });
    connect(job->thread, &QThread::finished, this, [this, kind, serial] {
        if (m_job && m_job->kind == kind && m_job->serial == serial)
            finishThread();
    });
    job->thread->start();
}

void frmMain::readFinished(const ReadResult &result, const QString &path, const QString &previous, Errors errors)
{
    const bool wasBusy = isBusy();
    m_job.reset();
    if (!result.ok) {
        if (wasBusy)
            setBusy(false);
        if (errors == Errors::Report) {
            DocumentPath = previous;
            forms::msgBox(QStringLiteral("The file \"%1\" could not be opened.\n\n%2").arg(path, result.error),
                          forms::MsgBoxStyle::Critical, QString(), QString(), 0, this);
        }
        return;
    }
    if (result.text.size() <= g_stepSize) {
        if (wasBusy)
            setBusy(false);
        ctrlTextEdit->setPlainText(result.text);
        finishLoad(path);
        return;
    }
    // A long text goes into the text area a piece at a time.
    m_job = std::make_unique<Job>();
    m_job->kind = Job::Load;
    m_job->stepwise = true;
    m_job->path = path;
    m_job->text = result.text;
    if (!wasBusy)
        setBusy(true);
    ctrlTextEdit->document()->setUndoRedoEnabled(false);
    ctrlTextEdit->clear();
    m_stepTimer->start();
}

void frmMain::loadStep()
{
    if (!m_job || m_job->kind != Job::Load)
        return;
    Job &job = *m_job;
    // Pieces go in until the step has taken its share of time.
    QElapsedTimer step;
    step.start();
    QTextCursor cursor(ctrlTextEdit->document());
    cursor.movePosition(QTextCursor::End);
    do {
        const qsizetype n = qMin(g_stepSize, job.text.size() - job.position);
        cursor.insertText(job.text.mid(job.position, n));
        job.position += n;
    } while (job.position < job.text.size() && step.elapsed() < StepMilliseconds);
    if (job.position < job.text.size()) {
        m_stepTimer->start();
        return;
    }
    const QString path = job.path;
    m_job.reset();
    ctrlTextEdit->document()->setUndoRedoEnabled(true);
    ctrlTextEdit->moveCursor(QTextCursor::Start);
    setBusy(false);
    finishLoad(path);
}

void frmMain::finishLoad(const QString &path)
{
    // Loading is a change even when the text came out the same.
    Saved = false;
    setCaption(caption() + QStringLiteral("[ ") + path + QStringLiteral(" ]"));
    emit documentOpened(path);
}

void frmMain::saveDocument(Errors errors)
{
    if (isBusy())
        return;
    const QString previous = DocumentPath;
    if (DocumentPath.isEmpty()) {
        prepareDialog(QStringLiteral("Save"));
        if (!dlgCommonDialog->ShowSave() || dlgCommonDialog->FileName.isEmpty())
            return;
        DocumentPath = dlgCommonDialog->FileName;
    }
    const QString path = DocumentPath;
    WriteDocument(path, true, [this, errors, previous, path](Outcome outcome, const QString &error) {
        if (outcome == Outcome::Written) {
            Saved = true;
            return;
        }
        if (outcome == Outcome::Declined || errors == Errors::Report)
            DocumentPath = previous;
        if (outcome == Outcome::Failed && errors == Errors::Report)
            reportWriteError(path, error, QStringLiteral("The document has not been saved."));
    });
}

void frmMain::SaveFileAs()
{
    if (isBusy())
        return;
    const QString previous = DocumentPath;
    DocumentPath.clear();
    prepareDialog(QStringLiteral("Save"));
    if (!dlgCommonDialog->ShowSave() || dlgCommonDialog->FileName.isEmpty())
        return;
    DocumentPath = dlgCommonDialog->FileName;
    const QString path = DocumentPath;
    WriteDocument(path, true, [this, previous, path](Outcome outcome, const QString &error) {
        if (outcome == Outcome::Written) {
            Saved = true;
            return;
        }
        DocumentPath = previous;
        if (outcome == Outcome::Failed)
            reportWriteError(path, error, QStringLiteral("The document has not been saved."));
    });
}

bool frmMain::SaveOnClose()
{
    DocumentPath.clear();
    prepareDialog(QStringLiteral("Save"));
    dlgCommonDialog->FileName = QStringLiteral("default.qlt");
    dlgCommonDialog->ShowSave();
    // A cancel keeps the proposed name.
    DocumentPath = dlgCommonDialog->FileName;
    const QString path = DocumentPath;
    bool written = false;
    WriteDocument(path, false, [this, path, &written](Outcome outcome, const QString &error) {
        written = outcome == Outcome::Written;
        if (!written)
            DocumentPath.clear();   // the next try asks for a name again
        if (outcome == Outcome::Failed)
            reportWriteError(path, error,
                             QStringLiteral("The window stays open so that you can save the document elsewhere."));
    });
    return written;
}

// ---- Writing

QByteArray frmMain::documentBytes() const
{
    format::Writer writer;
    writer.reserve(size_t(ctrlTextEdit->document()->characterCount())
                   + size_t(ctrlTextEdit->document()->blockCount()) + 8);
    for (QTextBlock b = ctrlTextEdit->document()->begin(); b.isValid(); b = b.next()) {
        if (b != ctrlTextEdit->document()->begin())
            writer.appendLineBreak();
        writer.append(view(b.text()));
    }
    const std::string bytes = writer.finish();
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

void frmMain::WriteDocument(const QString &path, bool stepwise, WriteDone done)
{
    QTextDocument *doc = ctrlTextEdit->document();
    m_job = std::make_unique<Job>();
    m_job->kind = Job::Encode;
    m_job->stepwise = stepwise && doc->characterCount() > g_stepSize;
    m_job->path = path;
    m_job->done = std::move(done);
    m_job->block = doc->begin();
    // Each line break takes two bytes in the file where the document counts one character.
    m_job->writer.reserve(size_t(doc->characterCount()) + size_t(doc->blockCount()) + 8);
    if (m_job->stepwise) {
        setBusy(true);
        m_stepTimer->start();
        return;
    }
    while (m_job && m_job->kind == Job::Encode)
        encodeStep();
}

void frmMain::encodeStep()
{
    if (!m_job || m_job->kind != Job::Encode)
        return;
    Job &job = *m_job;
    QElapsedTimer step;
    step.start();
    qsizetype handled = 0;
    while (job.block.isValid() && (!job.stepwise || handled < g_stepSize || step.elapsed() < StepMilliseconds)) {
        if (!job.firstBlock)
            job.writer.appendLineBreak();
        job.firstBlock = false;
        const QString text = job.block.text();
        job.writer.append(view(text));
        handled += text.size() + 1;
        job.block = job.block.next();
    }
    if (job.block.isValid()) {
        m_stepTimer->start();
        return;
    }
    afterEncoding();
}

void frmMain::afterEncoding()
{
    Job &job = *m_job;
    job.encoded = job.writer.finish();
    job.bytes = QByteArray::fromRawData(job.encoded.data(), qsizetype(job.encoded.size()));
    job.kind = Job::Write;
    if (job.writer.unrepresentable() > 0 && !confirmUnrepresentable()) {
        const WriteDone done = std::move(m_job->done);
        const bool stepwise = m_job->stepwise;
        m_job.reset();
        if (stepwise)
            setBusy(false);
        done(Outcome::Declined, QString());
        return;
    }
    if (!job.stepwise) {
        const WriteResult result = writeFileAtomically(job.path, job.bytes);
        completeWrite(result.ok, result.error);
        return;
    }
    runJobThread([](Job &job) { job.written = writeFileAtomically(job.path, job.bytes); });
}

bool frmMain::confirmUnrepresentable()
{
    const format::Writer &w = m_job->writer;
    const char32_t first = w.firstUnrepresentable();
    const QString example = QString::fromUcs4(&first, 1);
    const QString text =
        QStringLiteral("This document holds %1 character(s) that a document file cannot store, "
                       "the first being \"%2\" (U+%3) on line %4.\n\n"
                       "They will be saved as question marks. Save anyway?")
            .arg(w.unrepresentable())
            .arg(example)
            .arg(uint(w.firstUnrepresentable()), 4, 16, QLatin1Char('0'))
            .arg(w.firstUnrepresentableLine());
    return forms::msgBox(text,
                         forms::MsgBoxStyle::YesNo | forms::MsgBoxStyle::Exclamation
                             | forms::MsgBoxStyle::DefaultButton2,
                         QString(), QString(), 0, this)
           == forms::MsgBoxResult::Yes;
}

void frmMain::completeWrite(bool ok, const QString &error)
{
    const WriteDone done = std::move(m_job->done);
    const QString path = m_job->path;
    const bool stepwise = m_job->stepwise;
    m_job.reset();
    if (stepwise)
        setBusy(false);
    emit documentWritten(path, ok);
    done(ok ? Outcome::Written : Outcome::Failed, error);
}

void frmMain::reportWriteError(const QString &path, const QString &error, const QString &consequence)
{
    forms::msgBox(QStringLiteral("The document could not be saved to \"%1\".\n\n%2\n\n%3").arg(path, error, consequence),
                  forms::MsgBoxStyle::Critical, QString(), QString(), 0, this);
}

void frmMain::finishThread()
{
    Job &job = *m_job;
    job.thread->wait();
    delete job.thread;
    job.thread = nullptr;
    if (job.kind == Job::Read) {
        const ReadResult result = std::move(job.read);
        const QString path = job.path, previous = job.previous;
        const Errors errors = job.errors;
        readFinished(result, path, previous, errors);
    } else {
        completeWrite(job.written.ok, job.written.error);
    }
}

void frmMain::finishPendingWork()
{
    while (m_job) {
        Job &job = *m_job;
        switch (job.kind) {
        case Job::Read:
            finishThread();
            break;
        case Job::Load:
            loadStep();
            break;
        case Job::Encode:
            job.stepwise = false;   // the rest in one go
            encodeStep();
            break;
        case Job::Write:
            if (!job.thread)
                return;   // the question about unrepresentable characters is open
            finishThread();
            break;
        }
    }
}

void frmMain::setBusy(bool busy)
{
    ctrlTextEdit->setReadOnly(busy);
    for (QAction *a : {mnuFileNew, mnuFileOpen, mnuFileSave, saveas, cut, paste})
        a->setEnabled(!busy);
    tbToolBar->setEnabled(!busy);
    forms::setMousePointer(this, busy ? 11 : 0);
    emit busyChanged(busy);
}

// ---- Clipboard

namespace {
// The clipboard is emptied, then given the selection (or nothing) with its lines
// ending in LF.
void copySelection(const QTextCursor &cursor)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    clipboard->setText(text);
}
} // namespace

void frmMain::Cut()
{
    QTextCursor cursor = ctrlTextEdit->textCursor();
    copySelection(cursor);
    if (cursor.hasSelection() && !ctrlTextEdit->isReadOnly()) {
        cursor.removeSelectedText();
        ctrlTextEdit->setTextCursor(cursor);
    }
}

void frmMain::Copy() { copySelection(ctrlTextEdit->textCursor()); }

void frmMain::Paste()
{
    if (ctrlTextEdit->isReadOnly())
        return;
    const QString text = QGuiApplication::clipboard()->text();
    QTextCursor cursor = ctrlTextEdit->textCursor();
    if (text.isEmpty() && !cursor.hasSelection())
        return;
    cursor.insertText(text);
    ctrlTextEdit->setTextCursor(cursor);
}

// ---- Help

void frmMain::showAbout()
{
    // The editor's own About box, owned by this window, which waits until it closes.
    (new about::frmAbout(about::Configuration::Editor, this))->showModal(this);
}

} // namespace editor
