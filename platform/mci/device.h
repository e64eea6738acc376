#pragma once
// One open device: a libmpv core that holds one file, sound only.
#include "mci/mci.h"
#include <atomic>
#include <memory>
#include <optional>

struct mpv_handle;
struct mpv_event;

namespace mci {

// Passes a device's news to the observer set with setEventObserver.
void notify(const QByteArray &deviceName, DeviceEvent event);

class Device {
public:
    enum class Mode { NotReady, Stopped, Playing, Paused };

    // Loads `file` (an existing path) paused at its start and returns once libmpv has
    // either opened it or refused it: the error code says which.
    static Error open(const QByteArray &name, const QString &file, std::unique_ptr<Device> *device);
    ~Device();
    Device(const Device &) = delete;
    Device &operator=(const Device &) = delete;

    Error play(std::optional<qint64> fromMs);
    Error pause();
    Error stop();
    Mode mode();
    qint64 positionMs();
    qint64 lengthMs();

    // Reads every event libmpv has queued for this device (the GUI thread's work
    // after a wake-up, and the first step of every command).
    void drainEvents();

private:
    Device(const QByteArray &name, mpv_handle *handle, quint64 id);
    void handleEvent(const mpv_event &event);
    bool setPaused(bool paused);
    bool seekTo(qint64 ms);

public:
    // What libmpv's wake-up sees of a device: its number, and whether events wait to
    // be read. It outlives the libmpv core that calls into it.
    struct WakeUp {
        quint64 id = 0;
        std::atomic<bool> pending{true};
    };

private:
    QByteArray m_name;
    mpv_handle *m_handle = nullptr;
    quint64 m_id = 0;
    std::unique_ptr<WakeUp> m_wakeUp;
    Mode m_mode = Mode::Stopped;
    bool m_atEnd = false;
    bool m_seekPending = false;   // a seek was asked for and playback has not restarted yet
    bool m_startReported = true;
};

} // namespace mci
