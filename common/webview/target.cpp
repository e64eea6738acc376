#include "webview/target.h"
#include "shell/drives.h"
#include <QRegularExpression>

namespace webview {

Target classify(const QString &target)
{
    Target t;
    t.text = target;
    const QString trimmed = target.trimmed();
    if (trimmed.isEmpty())
        return t;
    if (shell::isDrivePath(trimmed)) {
        t.kind = Target::Folder;
        t.folder = shell::mapDrivePath(trimmed);
        return t;
    }
    t.kind = Target::Web;
    // A scheme is letters, digits, "+", "-" and "." before "://", or one of the
    // schemes that have no "//". Anything else starts with a host ("example.org",
    // "localhost:8080/x") and is read as http.
    static const QRegularExpression withScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    static const QRegularExpression opaqueScheme(QStringLiteral("^(about|data|mailto|javascript|view-source):"),
                                                 QRegularExpression::CaseInsensitiveOption);
    if (withScheme.match(trimmed).hasMatch() || opaqueScheme.match(trimmed).hasMatch())
        t.url = QUrl(trimmed, QUrl::StrictMode);
    else
        t.url = QUrl(QStringLiteral("http://") + trimmed, QUrl::StrictMode);
    return t;
}

} // namespace webview
