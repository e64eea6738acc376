// Any bytes as a .desktop file in a listed folder: reading its name and icon must not crash.
#include "shell/launch.h"
#include <QDir>
#include <QFile>
#include <QString>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString file = QDir::tempPath() + QStringLiteral("/tavolin-fuzz-%1.desktop").arg(::getpid());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    out.write(reinterpret_cast<const char *>(data), qint64(size));
    out.close();
    shell::DesktopEntryInfo info;
    shell::readDesktopEntry(file, &info);
    shell::ordinaryFileName(file);
    return 0;
}
