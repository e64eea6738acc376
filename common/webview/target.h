#pragma once
// How the web view reads a target handed to Navigate.
#include <QString>
#include <QUrl>

namespace webview {

struct Target {
    enum Kind { Empty, Folder, Web };
    Kind kind = Empty;
    QString folder;   // local path, for Folder
    QUrl url;         // for Web; may be invalid for a malformed address
    QString text;     // the target as given
};

// An empty text is the empty page; a drive-letter path is a local folder; a text that
// starts with a host (no scheme) is taken as http://; anything else is a web address,
// valid or not.
Target classify(const QString &target);

} // namespace webview
