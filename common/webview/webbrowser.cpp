#include "webview/webbrowser.h"
#include "webview/folderview.h"
#include "forms/controls.h"
#include "forms/msgbox.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QStackedLayout>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <unistd.h>

namespace webview {

void WebBrowser::prepareApplication()
{
    // Chromium will not run its sandbox as root; everyone else keeps it.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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
    QWebEngineView *view = ensureEngine();
    m_stack->setCurrentWidget(view);
    if (revisit && entry.engineAt >= 0) {
        // Back or Forward onto this step: show the page it showed last, from the engine's
        // own history, as long as the engine still holds it.
        QWebEngineHistory *history = view->history();
        m_awaitingEngineStart = false;
        if (history->currentItemIndex() == entry.engineAt && view->url() == entry.shownUrl)
            return;   // still there: a folder or the empty page was shown in between
        if (entry.engineAt < history->count() && history->itemAt(entry.engineAt).url() == entry.shownUrl) {
            m_historyMove = true;
            history->goToItem(history->itemAt(entry.engineAt));
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

void WebBrowser::onEngineUrlChanged()
{
    if (m_index < 0 || m_history[m_index].target.kind != Target::Web)
        return;
    Entry &entry = m_history[m_index];
    const int at = m_engine->history()->currentItemIndex();
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

void WebBrowser::onEngineLoadFinished(bool ok)
{
    // Loading the address already shown reloads it in place without a new history item
    // or a change of address: the step begins at the item shown.
    if (ok && m_awaitingEngineStart && m_index >= 0 && m_history[m_index].target.kind == Target::Web
        && m_engine->url() == m_history[m_index].target.url) {
        m_awaitingEngineStart = false;
        Entry &entry = m_history[m_index];
        entry.engineStart = entry.engineEnd = entry.engineAt = m_engine->history()->currentItemIndex();
        entry.shownUrl = m_engine->url();
    }
    m_historyMove = false;
    emit loadFinished(ok);
}

QWebEngineView *WebBrowser::ensureEngine()
{
    if (m_engine)
        return m_engine;
    m_engine = new QWebEngineView(this);
    m_engine->setObjectName(QStringLiteral("engine"));
    m_engine->setAccessibleName(QStringLiteral("Web page"));
    m_engine->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
    m_stack->addWidget(m_engine);
    connect(m_engine, &QWebEngineView::loadFinished, this, &WebBrowser::onEngineLoadFinished);
    connect(m_engine, &QWebEngineView::urlChanged, this, &WebBrowser::onEngineUrlChanged);
    // A link or a script that asks for a new window opens its page here instead: the view
    // has no windows to give, and a click that did nothing at all would look broken.
    connect(m_engine->page(), &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest &request) {
                if (request.requestedUrl().isValid())
                    m_engine->load(request.requestedUrl());
            });
    connect(m_engine->page(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    onRendererGone();
            });
    return m_engine;
}

void WebBrowser::onRendererGone()
{
    // The page's renderer died. Load the page again, unless it keeps dying: then say so
    // in the view instead of trying for ever.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    m_recentCrashes = (now - m_lastCrashMs < 10000) ? m_recentCrashes + 1 : 1;
    m_lastCrashMs = now;
    // Whatever the owner asks for in the meantime wins over the recovery.
    QPointer<QWebEngineView> view(m_engine);
    const quint64 commands = m_commands;
    if (m_recentCrashes <= 2) {
        QTimer::singleShot(0, this, [this, view, commands] {
            if (view && commands == m_commands)
                view->reload();
        });
    } else {
        QTimer::singleShot(0, this, [this, view, commands] {
            if (view && commands == m_commands)
                view->setHtml(QStringLiteral("<html><body style='font-family:sans-serif;margin:2em'>"
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
        && m_engine->history()->currentItemIndex() > current.engineStart) {
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
        && m_engine->history()->currentItemIndex() < current.engineEnd) {
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
