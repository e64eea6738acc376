// A device without libmpv behind it, for the fuzz targets: it opens any ordinary file
// that is not empty, plays it at no cost and knows nothing of sound. The command
// parser above it is the real one; only the player is taken out of the way, so an
// "open" of any existing path costs no decoder start and never blocks.
#include "fake_device.h"
#include "mci/device.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cstdlib>

namespace mci {

namespace {
QSet<QByteArray> g_live;        // names of the devices open now
QString g_lastOpened;           // the file the last successful open named
}


Device::Device(const QByteArray &name, mpv_handle *handle, quint64 id)
    : m_name(name), m_handle(handle), m_id(id), m_wakeUp(new WakeUp)
{
    g_live.insert(name);
}

Device::~Device() { g_live.remove(m_name); }

Error Device::open(const QByteArray &name, const QString &file, std::unique_ptr<Device> *device)
{
    const QFileInfo info(file);
    if (!info.isFile())
        return Err::InvalidFile;
    if (info.size() == 0)
        return Err::InvalidFile;   // "no sound in it"
    static quint64 next = 1;
    device->reset(new Device(name, nullptr, next++));
    (*device)->m_mode = Mode::Stopped;
    g_lastOpened = info.absoluteFilePath();
    return Err::None;
}

void Device::drainEvents() {}
void Device::handleEvent(const mpv_event &) {}
bool Device::setPaused(bool) { return true; }
bool Device::seekTo(qint64) { return true; }

Error Device::play(std::optional<qint64> fromMs)
{
    if (fromMs && *fromMs > lengthMs())
        return Err::OutOfRange;
    m_mode = Mode::Playing;
    return Err::None;
}

Error Device::pause()
{
    if (m_mode == Mode::Playing)
        m_mode = Mode::Paused;
    return Err::None;
}

Error Device::stop()
{
    m_mode = Mode::Stopped;
    return Err::None;
}

Device::Mode Device::mode() { return m_mode; }
qint64 Device::positionMs() { return 0; }
qint64 Device::lengthMs() { return 60000; }

} // namespace mci

namespace fakempv {

QList<QByteArray> liveDeviceNames() { return QList<QByteArray>(mci::g_live.cbegin(), mci::g_live.cend()); }
QString lastOpenedFile() { return mci::g_lastOpened; }
void forgetLastOpened() { mci::g_lastOpened.clear(); }

QString scratchFolder(const QString &name)
{
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                           : QDir::tempPath();
    const QString folder = base + QStringLiteral("/tavolin-fuzz-%1-%2").arg(name).arg(QCoreApplication::applicationPid());
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    static QStringList made;
    if (made.isEmpty())
        std::atexit([] { for (const QString &f : made) QDir(f).removeRecursively(); });
    made << folder;
    return folder;
}

} // namespace fakempv
