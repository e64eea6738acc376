#pragma once
// What the web view needs of the page engine. The engine (Qt WebEngine) lives in a module
// of its own, loaded the first time a view shows a web address, so a program pays for it
// only once it shows a page: windows that hold only folders, or no view at all, start fast.
#include <QUrl>

class QWidget;

namespace webview {

class PageEngine {
public:
    // The view hears of the engine's progress through this.
    class Client {
    public:
        virtual ~Client() = default;
        virtual void engineUrlChanged() = 0;
        virtual void engineLoadFinished(bool ok) = 0;
        virtual void engineRendererGone() = 0;   // the page's renderer ended abnormally
    };

    virtual ~PageEngine() = default;
    virtual QWidget *widget() = 0;               // a child of the view; the view's layout owns it
    virtual QUrl url() const = 0;
    virtual void load(const QUrl &url) = 0;
    virtual void setHtml(const QString &html) = 0;
    virtual void stop() = 0;
    virtual void reload() = 0;
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual int historyIndex() const = 0;
    virtual int historyCount() const = 0;
    virtual QUrl historyUrl(int index) const = 0;
    virtual void goToHistory(int index) = 0;
};

// The module's one entry point.
using CreatePageEngine = PageEngine *(*)(QWidget *parent, PageEngine::Client *client);
inline constexpr const char *CreatePageEngineSymbol = "tavolin_create_page_engine";
inline constexpr const char *PageEngineModule = "tavolin_webengine";

} // namespace webview
