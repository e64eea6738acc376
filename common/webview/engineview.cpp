// The page engine module: Qt WebEngine behind the view's PageEngine interface.
#include "webview/pageengine.h"
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

class EngineView : public QWebEngineView, public webview::PageEngine {
public:
    EngineView(QWidget *parent, Client *client) : QWebEngineView(parent)
    {
        setObjectName(QStringLiteral("engine"));
        setAccessibleName(QStringLiteral("Web page"));
        settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
        connect(this, &QWebEngineView::loadFinished, this, [client](bool ok) { client->engineLoadFinished(ok); });
        connect(this, &QWebEngineView::urlChanged, this, [client] { client->engineUrlChanged(); });
        // A link or a script that asks for a new window opens its page here instead: the view
        // has no windows to give, and a click that did nothing at all would look broken.
        connect(page(), &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest &request) {
            if (request.requestedUrl().isValid())
                QWebEngineView::load(request.requestedUrl());
        });
        connect(page(), &QWebEnginePage::renderProcessTerminated, this,
                [client](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                    if (status != QWebEnginePage::NormalTerminationStatus)
                        client->engineRendererGone();
                });
    }

    QWidget *widget() override { return this; }
    QUrl url() const override { return QWebEngineView::url(); }
    void load(const QUrl &url) override { QWebEngineView::load(url); }
    void setHtml(const QString &html) override { QWebEngineView::setHtml(html); }
    void stop() override { QWebEngineView::stop(); }
    void reload() override { QWebEngineView::reload(); }
    void back() override { QWebEngineView::back(); }
    void forward() override { QWebEngineView::forward(); }
    int historyIndex() const override { return history()->currentItemIndex(); }
    int historyCount() const override { return history()->count(); }
    QUrl historyUrl(int index) const override { return history()->itemAt(index).url(); }
    void goToHistory(int index) override { history()->goToItem(history()->itemAt(index)); }
};

} // namespace

extern "C" Q_DECL_EXPORT webview::PageEngine *tavolin_create_page_engine(QWidget *parent,
                                                                      webview::PageEngine::Client *client)
{
    return new EngineView(parent, client);
}
