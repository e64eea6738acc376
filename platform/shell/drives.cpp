#include "shell/drives.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace shell {

bool isDrivePath(const QString &path)
{
    if (path.size() < 2 || !path.at(0).isLetter() || path.at(0).unicode() > 0x7F
        || path.at(1) != QLatin1Char(':'))
        return false;
    return path.size() == 2 || path.at(2) == QLatin1Char('/') || path.at(2) == QLatin1Char('\\');
}

QStringList driveRoots()
{
    QStringList roots;
    const auto add = [&roots](const QString &dataDir) {
        if (dataDir.isEmpty())
            return;
        const QString root = QDir::cleanPath(dataDir + QStringLiteral("/tavolin/drives"));
        if (!roots.contains(root))
            roots << root;
    };
    // GenericDataLocation lists $XDG_DATA_HOME first, then $XDG_DATA_DIRS.
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        add(dir);
    if (QCoreApplication::instance())
        add(QCoreApplication::applicationDirPath() + QStringLiteral("/../share"));
    return roots;
}

namespace {
// Follows the components below root, taking the exact name where it exists and else
// the one name that differs only in case. Empty when some component is missing.
QString resolveUnder(const QString &root, const QStringList &components)
{
    QString current = root;
    if (!QFileInfo(current).isDir())
        return {};
    for (const QString &name : components) {
        const QString exact = current + QLatin1Char('/') + name;
        if (QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        const QStringList entries = QDir(current).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QString match;
        for (const QString &entry : entries) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0) {
                match = entry;
                break;
            }
        }
        if (match.isEmpty())
            return {};
        current += QLatin1Char('/') + match;
    }
    return current;
}
} // namespace

QString mapDrivePath(const QString &path)
{
    if (!isDrivePath(path))
        return path;
    const QString drive = path.left(1).toLower();
    QString rest = path.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList components;
    for (const QString &c : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (c == QLatin1String("."))
            continue;
        if (c == QLatin1String("..")) {
            if (!components.isEmpty())
                components.removeLast();   // never above the drive's root
            continue;
        }
        components << c;
    }
    const QStringList roots = driveRoots();
    for (const QString &root : roots) {
        const QString found = resolveUnder(root + QLatin1Char('/') + drive, components);
        if (!found.isEmpty())
            return found;
    }
    QString fallback = roots.value(0) + QLatin1Char('/') + drive;
    if (!components.isEmpty())
        fallback += QLatin1Char('/') + components.join(QLatin1Char('/'));
    return fallback;
}

} // namespace shell
