#include "dvd/disc.h"
#include "settings/settings.h"
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace dvd {

QString defaultDrive(const QString &devRoot)
{
    const QString dvd = devRoot + QStringLiteral("/dvd");
    if (QFileInfo::exists(dvd))
        return dvd;
    const QStringList names = QDir(devRoot).entryList({QStringLiteral("sr*")}, QDir::System | QDir::Files
                                                      | QDir::NoDotAndDotDot);
    static const QRegularExpression numbered(QStringLiteral("^sr(\\d+)$"));
    QString best;
    qlonglong bestNumber = -1;
    for (const QString &name : names) {
        const auto m = numbered.match(name);
        if (!m.hasMatch())
            continue;
        const qlonglong n = m.captured(1).toLongLong();
        if (bestNumber < 0 || n < bestNumber) {
            bestNumber = n;
            best = name;
        }
    }
    return best.isEmpty() ? QString() : devRoot + QLatin1Char('/') + best;
}

QString discSource()
{
    const QString named = settings::getSetting(QString::fromLatin1(SettingsApplication),
                                               QString::fromLatin1(SettingsSection),
                                               QString::fromLatin1(SettingsKey))
                              .trimmed();
    return named.isEmpty() ? defaultDrive() : named;
}

namespace {

void quietLog(void *, dvd_logger_level_t, const char *, va_list) {}

// For a drive: is a disc in it? Asked without waiting for the drive to spin up.
DiscState driveMediaState(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOMEDIUM)
            return DiscState::NoDisc;
        return errno == ENOENT || errno == ENXIO || errno == ENODEV ? DiscState::Missing : DiscState::Unreadable;
    }
    const int status = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    ::close(fd);
    if (status < 0)
        return DiscState::Ready;   // not a CD/DVD drive: let the reader decide
    return status == CDS_DISC_OK ? DiscState::Ready : DiscState::NoDisc;
}

} // namespace

DiscState probeDisc(const QString &source)
{
    if (source.isEmpty())
        return DiscState::NoSource;
    const QFileInfo info(source);
    if (!info.exists())
        return DiscState::Missing;
    const QByteArray path = QFile::encodeName(info.absoluteFilePath());
    if (!info.isDir() && !info.isFile()) {
        const DiscState media = driveMediaState(path);
        if (media != DiscState::Ready)
            return media;
    }
    if (info.isDir()) {
        // A folder must hold the disc's VIDEO_TS folder (or be that folder).
        QDir dir(info.absoluteFilePath());
        const bool holds = dir.exists(QStringLiteral("VIDEO_TS")) || dir.exists(QStringLiteral("video_ts"))
                           || dir.dirName().compare(QStringLiteral("VIDEO_TS"), Qt::CaseInsensitive) == 0;
        if (!holds)
            return DiscState::Unreadable;
    }
    static const dvd_logger_cb logger = {quietLog};
    dvd_reader_t *reader = DVDOpen2(nullptr, &logger, path.constData());
    if (!reader)
        return DiscState::Unreadable;
    ifo_handle_t *vmg = ifoOpen(reader, 0);
    const bool ok = vmg && vmg->tt_srpt && vmg->tt_srpt->nr_of_srpts > 0;
    if (vmg)
        ifoClose(vmg);
    DVDClose(reader);
    return ok ? DiscState::Ready : DiscState::Unreadable;
}

QString describe(DiscState state, const QString &source)
{
    switch (state) {
    case DiscState::NoSource: return QStringLiteral("There is no DVD drive.");
    case DiscState::Missing: return QStringLiteral("%1 does not exist.").arg(source);
    case DiscState::NoDisc: return QStringLiteral("There is no disc in %1.").arg(source);
    case DiscState::Unreadable: return QStringLiteral("%1 holds no readable DVD-Video disc.").arg(source);
    case DiscState::Ready: return QString();
    }
    return QString();
}

} // namespace dvd
