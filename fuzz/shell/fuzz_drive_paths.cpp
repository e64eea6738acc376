// Any text handed to the drive-path mapping: it must not crash, and a drive-letter path
// must always land inside one of the drive roots, never above it.
#include "shell/drives.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList roots = [] {
        const QString base = QDir::tempPath() + QStringLiteral("/tavolin-fuzz-drives");
        qputenv("XDG_DATA_HOME", QFile::encodeName(base + QStringLiteral("/data")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(base + QStringLiteral("/system")));
        QDir().mkpath(base + QStringLiteral("/data/tavolin/drives/c/Tavolin/Gaming"));
        return shell::driveRoots();
    }();
    const QString path = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    const QString mapped = shell::mapDrivePath(path);
    if (shell::isDrivePath(path)) {
        const QString clean = QDir::cleanPath(mapped);
        bool inside = false;
        for (const QString &root : roots)
            inside = inside || clean.startsWith(root + QLatin1Char('/'));
        if (!inside)
            std::abort();
    } else if (mapped != path) {
        std::abort();
    }
    return 0;
}
