#pragma once
// The DVD playback control: plays a DVD-Video disc through libmpv's DVD navigation
// input and shows the video inside itself.
//
// Callers reach it by numeric member identifier, as they would an automation object:
//
//   id  kind            request
//    2  method          Play: starts the disc (opening it first if needed) or resumes it
//    3  method          Pause: holds the picture where it is
//    4  method          Stop: stops playing and goes back to the start of the disc, paused;
//                       the disc stays open
//   28  method          next chapter (at the last chapter it stays where it is)
//   29  method          previous chapter (at the first it goes back to its start)
//   35  property read   the current chapter, a whole number counted from 1
//   38  property read   the playing position as text, "hh:mm:ss"
//   63  property write  mute: true silences the sound, false turns it back on
//
// A request fails exactly when the control cannot carry it out: there is no drive, no
// disc in it, nothing readable on it, or (for every request but Play) no disc open.
// Failures come back as a Reply; the control never throws and never waits on the disc
// beyond one quick look at it.
//
// The control opens the disc, paused at its start, as soon as it is created, so a disc
// in the drive answers the read requests before anyone presses Play. Everything mpv
// reports is handled on the GUI thread: mpv's wakeup callback only queues the work.
#include <QString>
#include <QVariant>
#include <QWidget>
#include <atomic>
#include <functional>
#include <optional>

struct mpv_handle;
struct mpv_event;

namespace dvd {

class VideoSurface;

namespace Member {
constexpr int Play = 2;
constexpr int Pause = 3;
constexpr int Stop = 4;
constexpr int PlayNextChapter = 28;
constexpr int PlayPrevChapter = 29;
constexpr int CurrentChapter = 35;
constexpr int CurrentTime = 38;
constexpr int Mute = 63;
}

enum class InvokeKind { Method, PropertyGet, PropertyPut };

struct Reply {
    bool ok = false;
    QVariant value;       // the value of a property read
    QString error;        // why a request failed
    explicit operator bool() const { return ok; }
    static Reply success(const QVariant &value = QVariant()) { return {true, value, QString()}; }
    static Reply failure(const QString &why) { return {false, QVariant(), why}; }
};

class DvdControl : public QWidget {
    Q_OBJECT
public:
    // Where picture and sound go. None uses mpv's null outputs: the disc is read and
    // decoded but nothing is shown or heard (tests, and machines without a display).
    enum class Outputs { Screen, None };
    // Applies to controls created afterwards.
    static void setDefaultOutputs(Outputs outputs);
    static Outputs defaultOutputs();

    // A hook that may answer a request in the control's place (returning a Reply) or let
    // it through (returning nothing). Tests use it to make a request fail on purpose.
    using RequestHook = std::function<std::optional<Reply>(int member, InvokeKind kind, const QVariantList &args)>;
    static void setRequestHook(RequestHook hook);

    enum class State { Idle, Opening, Loaded };

    explicit DvdControl(QWidget *parent = nullptr, const QString &name = QStringLiteral("DVD"));
    ~DvdControl() override;

    Reply invoke(int member, InvokeKind kind, const QVariantList &args = QVariantList());
    Reply call(int member) { return invoke(member, InvokeKind::Method); }
    Reply get(int member) { return invoke(member, InvokeKind::PropertyGet); }
    Reply put(int member, const QVariant &value) { return invoke(member, InvokeKind::PropertyPut, {value}); }

    // Size in twips.
    float widthTwips() const;
    float heightTwips() const;
    void setWidthTwips(float width);
    void setHeightTwips(float height);

    State state() const { return m_state; }
    QString source() const { return m_source; }
    Outputs outputs() const { return m_outputs; }
    QString lastError() const { return m_lastError; }
    bool isPaused() const;
    bool isMuted() const;
    double position() const;          // seconds, -1 when unknown
    int chapterCount() const;

signals:
    void stateChanged(dvd::DvdControl::State state);
    void playbackRestarted();          // a seek or the start has finished; frames follow

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static void wakeup(void *self);
    void drain();
    void handle(const mpv_event &event);
    void setState(State state);
    Reply open(bool paused);
    Reply stepChapter(int step);
    Reply mpvCommand(std::initializer_list<const char *> args);
    Reply setFlag(const char *name, bool on);
    Reply needOpen() const;

    mpv_handle *m_mpv = nullptr;
    VideoSurface *m_surface = nullptr;
    Outputs m_outputs;
    State m_state = State::Idle;
    QString m_source;
    QString m_lastError;
    int m_startsAwaited = 0;
    qint64 m_entry = -1;
    int m_pendingSteps = 0;
    std::atomic_bool m_wakeQueued{false};
};

} // namespace dvd
