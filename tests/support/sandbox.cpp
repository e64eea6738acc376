#include "support/sandbox.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavtest {

Sandbox::Sandbox()
{
    const QString root = m_dir.path();
    for (const char *sub : {"config", "data", "runtime", "home", "cache"})
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(root + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", (root + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root + QStringLiteral("/runtime")).toUtf8());
    qputenv("XDG_DATA_DIRS", (root + QStringLiteral("/system-data")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", (root + QStringLiteral("/system-config")).toUtf8());
}

QString Sandbox::makeDriveFolder(const QString &drive, const QString &relative) const
{
    const QString dir = dataHome() + QStringLiteral("/tavolin/drives/") + drive + QLatin1Char('/') + relative;
    QDir().mkpath(dir);
    return dir;
}

QString Sandbox::writeFile(const QString &relative, const QByteArray &content) const
{
    const QString file = QFileInfo(relative).isAbsolute() ? relative : path() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return file;
}

} // namespace tavtest
