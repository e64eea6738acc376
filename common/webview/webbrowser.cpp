#include "webview/webbrowser.h"
#include "webview/folderview.h"
#include "forms/controls.h"
#include "forms/msgbox.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QStackedLayout>
#include <QLibrary>
#include <QOpenGLContext>
#include <QTimer>
#include <unistd.h>

// QtGui's own set-up of the shared context, exported for modules such as this one.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace webview {

void WebBrowser::prepareApplication()
{
    // Chromium will not run its sandbox as root; everyone else keeps it.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

WebBrowser::WebBrowser(QWidget *parent, const QString &name, const forms::TwipsRect &rect)
    : QWidget(parent)
{
    forms::setControlName(this, name, QStringLiteral("Web view"));
    forms::place(this, rect);
    setAttribute(Qt::WA_NoMousePropagation);

    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);

    m_empty = new QWidget(this);
    m_empty->setObjectName(QStringLiteral("emptyPage"));
    m_empty->setAutoFillBackground(true);
    QPalette white = m_empty->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_empty->setPalette(white);
    m_stack->addWidget(m_empty);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("messagePage"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setAutoFillBackground(true);
    m_message->setPalette(white);
    m_message->setMargin(12);
    m_stack->addWidget(m_message);

    m_folders = new FolderView(this);
    m_stack->addWidget(m_folders);
    connect(m_folders, &FolderView::folderRequested, this, [this](const QString &path) {
        Target t;
        t.kind = Target::Folder;
        t.folder = path;
        t.text = path;
        push(t);
    });
    connect(m_folders, &FolderView::launchFailed, this, [this](const QString &message) {
        forms::msgBox(message, forms::MsgBoxStyle::Exclamation, QString(), QString(), 0, window());
    });

    m_stack->setCurrentWidget(m_empty);
    m_empty->installEventFilter(this);
}

WebBrowser::~WebBrowser() = default;

bool WebBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_empty && event->type() == QEvent::Paint && m_engineAfterPaint) {
        m_engineAfterPaint = false;
        QTimer::singleShot(0, this, [this] {
            if (!m_engine && m_index >= 0 && m_history[m_index].target.kind == Target::Web)
                showWeb(m_history[m_index], false);
        });
    }
    return QWidget::eventFilter(watched, event);
}

void WebBrowser::Navigate(const QString &target)
{
    ++m_commands;
    emit navigated(target);
    push(classify(target));
}

void WebBrowser::push(const Target &target)
{
    // A new target drops whatever lay ahead in the history.
    if (m_index + 1 < m_history.size())
        m_history.resize(m_index + 1);
    m_history.append(Entry{target});
    m_index = int(m_history.size()) - 1;
    show(m_history[m_index], false);
}

void WebBrowser::show(Entry &entry, bool revisit)
{
    const Target &t = entry.target;
    switch (t.kind) {
    case Target::Empty:
        if (m_engine)
            m_engine->stop();
        m_awaitingEngineStart = false;
        m_stack->setCurrentWidget(m_empty);
        break;
    case Target::Folder: {
        if (m_engine)
            m_engine->stop();
        m_awaitingEngineStart = false;
        const bool exists = m_folders->showFolder(t.folder);
        if (exists) {
            m_stack->setCurrentWidget(m_folders);
        } else {
            showMessage(QStringLiteral("Folder not found: %1").arg(t.text));
        }
        emit folderShown(t.folder, exists);
        break;
    }
    case Target::Web:
        showWeb(entry, revisit);
        break;
    }
}

void WebBrowser::showMessage(const QString &text)
{
    m_message->setText(text);
    m_stack->setCurrentWidget(m_message);
}

void WebBrowser::showWeb(Entry &entry, bool revisit)
{
    if (!m_engine && !window()->isVisible()) {
        // Asked for during the window's Load, before it is shown: starting the engine takes
        // a good second, so let the window paint first and start it right after.
        m_stack->setCurrentWidget(m_empty);
        m_engineAfterPaint = true;
        return;
    }
    PageEngine *view = ensureEngine();
    if (!view)
        return;
    m_stack->setCurrentWidget(view->widget());
    if (revisit && entry.engineAt >= 0) {
        // Back or Forward onto this step: show the page it showed last, from the engine's
        // own history, as long as the engine still holds it.
        m_awaitingEngineStart = false;
        if (view->historyIndex() == entry.engineAt && view->url() == entry.shownUrl)
            return;   // still there: a folder or the empty page was shown in between
        if (entry.engineAt < view->historyCount() && view->historyUrl(entry.engineAt) == entry.shownUrl) {
            m_historyMove = true;
            view->goToHistory(entry.engineAt);
            return;
        }
    }
    entry.engineStart = entry.engineEnd = entry.engineAt = -1;
    entry.shownUrl.clear();
    m_awaitingEngineStart = true;
    m_historyMove = false;
    const QUrl &url = entry.target.url;
    if (!url.isValid() || (url.host().isEmpty() && (url.scheme() == QLatin1String("http")
                                                    || url.scheme() == QLatin1String("https")))) {
        // Chromium would refuse such an address without a word; say what happened.
        const QString escaped = entry.target.text.toHtmlEscaped();
        view->setHtml(QStringLiteral("<html><body style='font-family:sans-serif;margin:2em'>"
                                     "<h2>This address is not valid</h2><p>%1</p></body></html>")
                          .arg(escaped));
        return;
    }
    view->load(url);
}

void WebBrowser::engineUrlChanged()
{
    if (m_index < 0 || m_history[m_index].target.kind != Target::Web)
        return;
    Entry &entry = m_history[m_index];
    const int at = m_engine->historyIndex();
    if (m_awaitingEngineStart) {
        entry.engineStart = entry.engineEnd = at;   // the page this step asked for
        m_awaitingEngineStart = false;
    } else if (m_historyMove) {
        m_historyMove = false;                      // Back or Forward inside the step
    } else {
        // A link or a script inside the page went somewhere new: that is the newest page
        // of this step, and whatever lay ahead in the history is gone, as in any browser.
        entry.engineEnd = at;
        if (m_index + 1 < m_history.size())
            m_history.resize(m_index + 1);
    }
    entry.engineAt = at;
    entry.shownUrl = m_engine->url();
}

void WebBrowser::engineLoadFinished(bool ok)
{
    // Loading the address already shown reloads it in place without a new history item
    // or a change of address: the step begins at the item shown.
    if (ok && m_awaitingEngineStart && m_index >= 0 && m_history[m_index].target.kind == Target::Web
        && m_engine->url() == m_history[m_index].target.url) {
        m_awaitingEngineStart = false;
        Entry &entry = m_history[m_index];
        entry.engineStart = entry.engineEnd = entry.engineAt = m_engine->historyIndex();
        entry.shownUrl = m_engine->url();
    }
    m_historyMove = false;
    emit loadFinished(ok);
}

namespace {
// The web engine draws through an OpenGL context shared with the application's windows.
// Qt makes that context at start-up when asked to, which costs every program that holds a
// view the loading of the system's GL driver whether it ever shows a page or not; this
// makes it the first time the engine is needed instead, as start-up would have.
void provideSharedGLContext()
{
    if (QOpenGLContext::globalShareContext())
        return;
    auto *context = new QOpenGLContext(qApp);
    context->create();
    qt_gl_set_global_share_context(context);
}

// The engine module's entry point, looked up once per program: beside bin/ in lib/tavolin,
// as both the build folder and an installation lay it out.
CreatePageEngine engineFactory(QString *error)
{
    static CreatePageEngine factory = nullptr;
    static QString failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        const QString base = QCoreApplication::applicationDirPath();
        const QString name = QStringLiteral("lib%1.so").arg(QLatin1String(PageEngineModule));
        for (const QString &path : {base + QStringLiteral("/../lib/tavolin/") + name, base + QLatin1Char('/') + name}) {
            if (!QFileInfo::exists(path))
                continue;
            provideSharedGLContext();
            QLibrary module(path);
            factory = reinterpret_cast<CreatePageEngine>(module.resolve(CreatePageEngineSymbol));
            if (factory)
                break;
            failure = module.errorString();
        }
        if (!factory && failure.isEmpty())
            failure = QStringLiteral("%1 was not found beside the program.").arg(name);
    }
    if (!factory && error)
        *error = failure;
    return factory;
}
} // namespace

PageEngine *WebBrowser::ensureEngine()
{
    if (m_engine)
        return m_engine;
    QString error;
    CreatePageEngine create = engineFactory(&error);
    if (!create) {
        showMessage(QStringLiteral("Web pages cannot be shown: the web engine could not be loaded.\n%1").arg(error));
        return nullptr;
    }
    m_engine = create(this, this);
    m_engineWidget = m_engine->widget();
    m_stack->addWidget(m_engineWidget);
    return m_engine;
}

void WebBrowser::engineRendererGone()
{
    // The page's renderer died. Load the page again, unless it keeps dying: then say so
    // in the view instead of trying for ever.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    m_recentCrashes = (now - m_lastCrashMs < 10000) ? m_recentCrashes + 1 : 1;
    m_lastCrashMs = now;
    // Whatever the owner asks for in the meantime wins over the recovery.
    const quint64 commands = m_commands;
    if (m_recentCrashes <= 2) {
        QTimer::singleShot(0, this, [this, commands] {
            if (m_engineWidget && commands == m_commands)
                m_engine->reload();
        });
    } else {
        QTimer::singleShot(0, this, [this, commands] {
            if (m_engineWidget && commands == m_commands)
                m_engine->setHtml(QStringLiteral("<html><body style='font-family:sans-serif;margin:2em'>"
                                             "<h2>This page stopped working</h2>"
                                             "<p>Try Refresh, or go to another page.</p></body></html>"));
        });
    }
}

void WebBrowser::GoBack()
{
    ++m_commands;
    if (m_index < 0)
        return;
    const Entry &current = m_history[m_index];
    if (current.target.kind == Target::Web && m_engine && current.engineStart >= 0
        && m_engine->historyIndex() > current.engineStart) {
        m_historyMove = true;
        m_engine->back();   // a page reached by a link inside this step
        return;
    }
    if (m_index == 0)
        return;   // nothing earlier: nothing happens
    --m_index;
    show(m_history[m_index], true);
}

void WebBrowser::GoForward()
{
    ++m_commands;
    if (m_index < 0)
        return;
    const Entry &current = m_history[m_index];
    if (current.target.kind == Target::Web && m_engine && current.engineStart >= 0
        && m_engine->historyIndex() < current.engineEnd) {
        m_historyMove = true;
        m_engine->forward();
        return;
    }
    if (m_index + 1 >= m_history.size())
        return;   // nothing later: nothing happens
    ++m_index;
    show(m_history[m_index], true);
}

void WebBrowser::Refresh()
{
    ++m_commands;
    if (m_index < 0)
        return;
    Entry &current = m_history[m_index];
    if (current.target.kind == Target::Web && m_engine)
        m_engine->reload();
    else
        show(current, true);
}

void WebBrowser::Stop()
{
    ++m_commands;
    if (m_engine)
        m_engine->stop();
}

Target::Kind WebBrowser::currentKind() const
{
    return m_index < 0 ? Target::Empty : m_history[m_index].target.kind;
}

QString WebBrowser::currentTarget() const
{
    return m_index < 0 ? QString() : m_history[m_index].target.text;
}

QUrl WebBrowser::currentUrl() const
{
    if (currentKind() != Target::Web || !m_engine)
        return {};
    return m_engine->url();
}

QString WebBrowser::currentFolder() const
{
    return currentKind() == Target::Folder ? m_history[m_index].target.folder : QString();
}

bool WebBrowser::folderMissing() const
{
    return currentKind() == Target::Folder && m_stack->currentWidget() == m_message;
}

} // namespace webview
