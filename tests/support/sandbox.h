#pragma once
// A private home for one test program: $HOME and the XDG folders point into a
// temporary folder, so tests never read or write the user's settings or drives.
#include <QString>
#include <QTemporaryDir>

namespace tavtest {

class Sandbox {
public:
    Sandbox();
    QString path() const { return m_dir.path(); }
    QString configHome() const { return path() + QStringLiteral("/config"); }
    QString dataHome() const { return path() + QStringLiteral("/data"); }
    // Creates a folder under the data home's drive folders, e.g. drive("c", "Tavolin/Gaming").
    QString makeDriveFolder(const QString &drive, const QString &relative) const;
    // Writes a file (creating folders) and returns its path.
    QString writeFile(const QString &relative, const QByteArray &content) const;

private:
    QTemporaryDir m_dir;
};

} // namespace tavtest
