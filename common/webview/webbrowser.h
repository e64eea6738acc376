#pragma once
// The web view control `WebBrowser1`: Navigate, GoBack, GoForward, Refresh and Stop.
// Web addresses are shown by Qt WebEngine, loaded and created only when a view first
// needs it so windows that never show a page start fast; drive-letter folder paths are
// shown by a folder view of our own. One history covers both.
#include "forms/twips.h"
#include "webview/pageengine.h"
#include "webview/target.h"
#include <QPointer>
#include <QVector>
#include <QWidget>

class QStackedLayout;
class QLabel;
class QWebEngineView;

namespace webview {

class FolderView;

class WebBrowser : public QWidget, private PageEngine::Client {
    Q_OBJECT
public:
    WebBrowser(QWidget *parent, const QString &name, const forms::TwipsRect &rect);
    ~WebBrowser() override;

    void Navigate(const QString &target);
    void GoBack();
    void GoForward();
    void Refresh();
    void Stop();

    // What the view shows now, for tests and the windows' own checks.
    Target::Kind currentKind() const;
    QString currentTarget() const;     // as handed to Navigate, or the folder opened
    QUrl currentUrl() const;           // the page's address, following links inside it
    QString currentFolder() const;
    bool folderMissing() const;
    bool hasEngine() const { return m_engine != nullptr; }
    FolderView *folderView() const { return m_folders; }
    // The engine's widget; only code that links Qt WebEngine itself may call this
    // (tavolin_webview_engineaccess).
    QWebEngineView *engine() const;
    int historyCount() const { return int(m_history.size()); }
    int historyIndex() const { return m_index; }

    // Call before the QApplication is constructed, in every program that holds a view.
    static void prepareApplication();

signals:
    void navigated(const QString &target);   // every Navigate call, target as given
    void loadFinished(bool ok);              // a web page finished loading
    void folderShown(const QString &path, bool exists);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One step of the view's history. A web step owns a run of the engine's own history
    // items: the page it opened and the pages reached by links inside it.
    struct Entry {
        Target target;
        int engineStart = -1;   // the engine's history index where this entry began
        int engineEnd = -1;     // its last item (links followed inside the page)
        int engineAt = -1;      // the item it showed last
        QUrl shownUrl;          // that item's address
    };
    void push(const Target &target);
    void show(Entry &entry, bool revisit);
    void showWeb(Entry &entry, bool revisit);
    void engineUrlChanged() override;
    void engineLoadFinished(bool ok) override;
    void engineRendererGone() override;
    void showMessage(const QString &text);
    PageEngine *ensureEngine();

    QStackedLayout *m_stack = nullptr;
    QWidget *m_empty = nullptr;
    QLabel *m_message = nullptr;
    FolderView *m_folders = nullptr;
    PageEngine *m_engine = nullptr;       // owned by its widget, a child of this view
    QPointer<QWidget> m_engineWidget;
    QVector<Entry> m_history;
    int m_index = -1;
    bool m_awaitingEngineStart = false;   // a load we started has not shown its page yet
    bool m_historyMove = false;           // the engine is moving inside its own history
    bool m_engineAfterPaint = false;      // a page was asked for before the window was first shown
    int m_recentCrashes = 0;
    quint64 m_commands = 0;   // counts what the owner asked for, so a late recovery yields to it
    qint64 m_lastCrashMs = 0;
};

} // namespace webview
