#include "mci/device.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QObject>
#include <mpv/client.h>
#include <cmath>

namespace mci {

namespace {

// libmpv wakes us from its own threads. The wake-up only marks the device's events
// as waiting and queues one call to the GUI thread, naming the device by number, so
// a device closed in between is simply not found there. Reading libmpv's events is
// not free (it has the core re-read the properties we observe), so the mode query,
// sent a hundred times a second while Loop is on, reads them only when there are any.
QHash<quint64, Device *> &liveDevices()
{
    static QHash<quint64, Device *> devices;
    return devices;
}

quint64 g_nextId = 1;

QObject *guiThreadReceiver()
{
    static QObject *receiver = new QObject;   // lives as long as the program
    return receiver;
}

void wakeUp(void *context)
{
    auto *wake = static_cast<Device::WakeUp *>(context);
    if (wake->pending.exchange(true))
        return;   // a read is queued already
    const quint64 id = wake->id;
    QMetaObject::invokeMethod(guiThreadReceiver(), [id] {
        if (Device *device = liveDevices().value(id))
            device->drainEvents();
    }, Qt::QueuedConnection);
}

// Longest wait for libmpv to open a file before the open is given up.
constexpr int OpenTimeoutMs = 10000;

constexpr quint64 ObserveEof = 1;
constexpr quint64 ObserveIdle = 2;

void setOption(mpv_handle *handle, const char *name, const QByteArray &value)
{
    mpv_set_option_string(handle, name, value.constData());
}

Error openErrorFor(int mpvError)
{
    switch (mpvError) {
    case MPV_ERROR_NOMEM:
        return Err::OutOfMemory;
    case MPV_ERROR_AO_INIT_FAILED:
        return Err::Hardware;
    default:
        return Err::InvalidFile;
    }
}

} // namespace

Device::Device(const QByteArray &name, mpv_handle *handle, quint64 id)
    : m_name(name), m_handle(handle), m_id(id), m_wakeUp(new WakeUp)
{
    m_wakeUp->id = id;
    liveDevices().insert(m_id, this);
}

Device::~Device()
{
    liveDevices().remove(m_id);
    if (m_handle) {
        // libmpv calls the wake-up under its own lock: once it is unset, no call is
        // running or to come, and the wake-up record can go with the device.
        mpv_set_wakeup_callback(m_handle, nullptr, nullptr);
        mpv_terminate_destroy(m_handle);
    }
}

Error Device::open(const QByteArray &name, const QString &file, std::unique_ptr<Device> *device)
{
    guiThreadReceiver();   // made here, on the thread that sends the commands
    mpv_handle *handle = mpv_create();
    if (!handle)
        return Err::CannotLoadDriver;

    // Sound only, nothing read from the user's mpv configuration, no scripts, no
    // other files looked for beside this one, no window.
    setOption(handle, "config", "no");
    setOption(handle, "terminal", "no");
    setOption(handle, "load-scripts", "no");
    setOption(handle, "osc", "no");
    setOption(handle, "load-stats-overlay", "no");
    setOption(handle, "load-osd-console", "no");
    setOption(handle, "load-auto-profiles", "no");
    setOption(handle, "ytdl", "no");
    setOption(handle, "video", "no");
    setOption(handle, "audio-display", "no");
    setOption(handle, "force-window", "no");
    setOption(handle, "sub-auto", "no");
    setOption(handle, "audio-file-auto", "no");
    setOption(handle, "cover-art-auto", "no");
    setOption(handle, "input-default-bindings", "no");
    setOption(handle, "resume-playback", "no");
    setOption(handle, "access-references", "no");
    setOption(handle, "load-unsafe-playlists", "no");
    setOption(handle, "hr-seek", "yes");
    // The file stays loaded at its end (paused there) and the core stays up, so the
    // device can play it again from any point.
    setOption(handle, "idle", "yes");
    setOption(handle, "keep-open", "yes");
    // Without this the core calls the file ended as soon as its last sound is handed to
    // the output, and pauses there: the tail still in the output's buffer (up to half a
    // second) would never be heard, and the end would be reported that much too soon.
    setOption(handle, "gapless-audio", "no");
    setOption(handle, "pause", "yes");
    const QString output = audioOutput();
    if (!output.isEmpty())
        setOption(handle, "ao", output.toUtf8());
    // With no sound device the file still plays, silently, rather than not at all.
    setOption(handle, "audio-fallback-to-null", "yes");
    if (!QCoreApplication::applicationName().isEmpty())
        setOption(handle, "audio-client-name", QCoreApplication::applicationName().toUtf8());

    if (mpv_initialize(handle) < 0) {
        mpv_terminate_destroy(handle);
        return Err::CannotLoadDriver;
    }
    mpv_observe_property(handle, ObserveEof, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(handle, ObserveIdle, "core-idle", MPV_FORMAT_FLAG);
    // Every file the core is about to open passes this hook: only the file asked for
    // is let through (a "file" that is really a playlist names no others to load).
    mpv_hook_add(handle, 0, "on_load", 0);

    const QByteArray path = QFile::encodeName(QFileInfo(file).absoluteFilePath());
    const char *load[] = {"loadfile", path.constData(), "replace", nullptr};
    if (mpv_command(handle, load) < 0) {
        mpv_terminate_destroy(handle);
        return Err::InvalidFile;
    }

    Error result = Err::DeviceNotReady;   // what a file that never opens gives
    QDeadlineTimer deadline(OpenTimeoutMs);
    bool done = false;
    while (!done && !deadline.hasExpired()) {
        const mpv_event *event = mpv_wait_event(handle, double(deadline.remainingTime()) / 1000.0);
        switch (event->event_id) {
        case MPV_EVENT_HOOK: {
            const auto *hook = static_cast<const mpv_event_hook *>(event->data);
            char *opening = mpv_get_property_string(handle, "stream-open-filename");
            if (!opening || path != opening) {
                // Not our file: refuse it, and end the load here.
                const char *stop[] = {"stop", nullptr};
                mpv_command(handle, stop);
                result = Err::InvalidFile;
                done = true;
            }
            mpv_free(opening);
            mpv_hook_continue(handle, hook->id);
            break;
        }
        case MPV_EVENT_FILE_LOADED:
            result = Err::None;
            done = true;
            break;
        case MPV_EVENT_END_FILE: {
            const auto *end = static_cast<const mpv_event_end_file *>(event->data);
            result = end->reason == MPV_END_FILE_REASON_ERROR ? openErrorFor(end->error) : Err::InvalidFile;
            done = true;
            break;
        }
        case MPV_EVENT_SHUTDOWN:
            result = Err::Hardware;
            done = true;
            break;
        default:
            break;
        }
    }
    if (result == Err::None) {
        // A file without sound (a picture, say) is no file for this device.
        char *audio = mpv_get_property_string(handle, "current-tracks/audio/id");
        if (!audio)
            result = Err::InvalidFile;
        mpv_free(audio);
    }
    if (result != Err::None) {
        mpv_terminate_destroy(handle);
        return result;
    }

    device->reset(new Device(name, handle, g_nextId++));
    mpv_set_wakeup_callback(handle, wakeUp, (*device)->m_wakeUp.get());
    (*device)->drainEvents();
    return Err::None;
}

void Device::drainEvents()
{
    if (!m_wakeUp->pending.exchange(false))
        return;
    while (m_handle) {
        const mpv_event *event = mpv_wait_event(m_handle, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void Device::handleEvent(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto *property = static_cast<const mpv_event_property *>(event.data);
        if (property->format != MPV_FORMAT_FLAG)
            break;
        const bool on = *static_cast<const int *>(property->data) != 0;
        if (event.reply_userdata == ObserveEof && on) {
            // An end reported before a seek we asked for has taken effect is the old end,
            // not the end of what plays now.
            if (m_seekPending)
                break;
            m_atEnd = true;
            if (m_mode == Mode::Playing) {
                m_mode = Mode::Stopped;
                // A file shorter than the sound buffers ends before its start is seen.
                if (!m_startReported) {
                    m_startReported = true;
                    notify(m_name, DeviceEvent::AudioStarted);
                }
                notify(m_name, DeviceEvent::Ended);
            }
        } else if (event.reply_userdata == ObserveIdle && !on && m_mode == Mode::Playing
                   && !m_startReported) {
            m_startReported = true;
            notify(m_name, DeviceEvent::AudioStarted);
        }
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        m_seekPending = false;
        break;
    case MPV_EVENT_HOOK:
        mpv_hook_continue(m_handle, static_cast<const mpv_event_hook *>(event.data)->id);
        break;
    case MPV_EVENT_END_FILE: {
        // With the file kept open at its end, the file only goes away on a failure.
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        if (end->reason == MPV_END_FILE_REASON_ERROR)
            m_mode = Mode::NotReady;
        break;
    }
    case MPV_EVENT_SHUTDOWN:
        m_mode = Mode::NotReady;
        break;
    default:
        break;
    }
}

bool Device::setPaused(bool paused)
{
    int flag = paused ? 1 : 0;
    return mpv_set_property(m_handle, "pause", MPV_FORMAT_FLAG, &flag) >= 0;
}

bool Device::seekTo(qint64 ms)
{
    const QByteArray seconds = QByteArray::number(double(ms) / 1000.0, 'f', 3);
    const char *seek[] = {"seek", seconds.constData(), "absolute+exact", nullptr};
    m_seekPending = mpv_command(m_handle, seek) >= 0;
    return m_seekPending;
}

Error Device::play(std::optional<qint64> fromMs)
{
    drainEvents();
    if (m_mode == Mode::NotReady)
        return Err::DeviceNotReady;
    if (fromMs) {
        const qint64 length = lengthMs();
        if (length >= 0 && *fromMs > length)
            return Err::OutOfRange;
        if (!seekTo(*fromMs))
            return Err::Internal;
        m_atEnd = false;
    } else if (m_atEnd) {
        // Played again once it has ended: from the start.
        if (!seekTo(0))
            return Err::Internal;
        m_atEnd = false;
    }
    if (!setPaused(false))
        return Err::Internal;
    m_mode = Mode::Playing;
    m_startReported = false;
    return Err::None;
}

Error Device::pause()
{
    drainEvents();
    if (m_mode == Mode::NotReady)
        return Err::DeviceNotReady;
    if (m_mode == Mode::Playing) {
        if (!setPaused(true))
            return Err::Internal;
        m_mode = Mode::Paused;
    }
    return Err::None;
}

Error Device::stop()
{
    drainEvents();
    if (m_mode == Mode::NotReady)
        return Err::DeviceNotReady;
    if (!setPaused(true))
        return Err::Internal;
    m_mode = Mode::Stopped;
    return Err::None;
}

Device::Mode Device::mode()
{
    drainEvents();
    return m_mode;
}

qint64 Device::positionMs()
{
    double seconds = 0;
    if (mpv_get_property(m_handle, "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0)
        return 0;
    return qMax<qint64>(0, qint64(std::llround(seconds * 1000.0)));
}

qint64 Device::lengthMs()
{
    double seconds = 0;
    if (mpv_get_property(m_handle, "duration", MPV_FORMAT_DOUBLE, &seconds) < 0)
        return -1;
    return qint64(std::llround(seconds * 1000.0));
}

} // namespace mci
