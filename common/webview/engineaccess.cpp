// The engine's own widget, for code that links Qt WebEngine itself (the tests).
#include "webview/webbrowser.h"
#include <QWebEngineView>

namespace webview {

QWebEngineView *WebBrowser::engine() const
{
    return qobject_cast<QWebEngineView *>(m_engineWidget.data());
}

} // namespace webview
