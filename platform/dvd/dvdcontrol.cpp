#include "dvd/dvdcontrol.h"
#include "dvd/disc.h"
#include "dvd/videosurface.h"
#include "forms/twips.h"
#include <QMetaObject>
#include <QPainter>
#include <QResizeEvent>
#include <clocale>
#include <cmath>
#include <mpv/client.h>

namespace dvd {

namespace {
DvdControl::Outputs g_defaultOutputs = DvdControl::Outputs::Screen;
DvdControl::RequestHook g_hook;

QString mpvError(int code) { return QString::fromUtf8(mpv_error_string(code)); }

// A value written to a true/false property: a truth value, a number (0 is false), or
// the words true and false.
std::optional<bool> truthValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Double: case QMetaType::Float:
        return value.toDouble() != 0.0;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        if (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const double n = text.toDouble(&ok);
        if (ok)
            return n != 0.0;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

QString clockText(double seconds)
{
    const qint64 whole = seconds > 0 ? qint64(std::floor(seconds)) : 0;
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600, 2, 10, QLatin1Char('0'))
        .arg((whole / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

void DvdControl::setDefaultOutputs(Outputs outputs) { g_defaultOutputs = outputs; }
DvdControl::Outputs DvdControl::defaultOutputs() { return g_defaultOutputs; }
void DvdControl::setRequestHook(RequestHook hook) { g_hook = std::move(hook); }

DvdControl::DvdControl(QWidget *parent, const QString &name) : QWidget(parent), m_outputs(g_defaultOutputs)
{
    setObjectName(name);
    setAccessibleName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);

    // mpv parses numbers the C way and refuses to start under a locale with another
    // decimal separator (de_DE and the like). Qt formats numbers itself, so this
    // changes nothing else in the program.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv) {
        m_lastError = QStringLiteral("The video player could not be started.");
        return;
    }
    const bool screen = m_outputs == Outputs::Screen;
    const std::pair<const char *, const char *> options[] = {
        {"config", "no"}, {"terminal", "no"}, {"load-scripts", "no"}, {"ytdl", "no"},
        {"osc", "no"}, {"input-default-bindings", "no"}, {"input-vo-keyboard", "no"},
        {"osd-level", "0"}, {"idle", "yes"}, {"hwdec", "no"}, {"audio-display", "no"}, {"sw-fast", "yes"},
        {"vo", screen ? "libmpv" : "null"},
    };
    for (const auto &[key, value] : options)
        mpv_set_option_string(m_mpv, key, value);
    // Sound goes to the desktop's sound system as mpv finds it; without one the picture plays on.
    if (!screen)
        mpv_set_option_string(m_mpv, "ao", "null");
    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        m_lastError = QStringLiteral("The video player could not be started.");
        return;
    }
    mpv_set_wakeup_callback(m_mpv, &DvdControl::wakeup, this);

    if (screen) {
        m_surface = new VideoSurface(m_mpv, this);
        m_surface->setGeometry(rect());
    }

    // A disc in the drive is opened at once, paused at its start; without one the
    // control waits for Play. Either way m_source names the drive looked at.
    open(true);
}

DvdControl::~DvdControl()
{
    delete m_surface;   // its render context must go before the player
    m_surface = nullptr;
    if (m_mpv) {
        mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
        mpv_terminate_destroy(m_mpv);
    }
}

void DvdControl::wakeup(void *self)
{
    // Called on one of mpv's threads: queue the draining for the GUI thread, once.
    auto *control = static_cast<DvdControl *>(self);
    if (control->m_wakeQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(control, [control] { control->drain(); }, Qt::QueuedConnection);
}

void DvdControl::drain()
{
    m_wakeQueued = false;
    while (m_mpv) {
        mpv_event *event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handle(*event);
    }
}

void DvdControl::handle(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        if (m_startsAwaited > 0)
            --m_startsAwaited;
        m_entry = static_cast<mpv_event_start_file *>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (m_startsAwaited == 0 && m_state == State::Opening) {
            setState(State::Loaded);
            const int steps = m_pendingSteps;
            m_pendingSteps = 0;
            for (int i = 0; i < std::abs(steps); ++i)
                stepChapter(steps > 0 ? 1 : -1);
        }
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<mpv_event_end_file *>(event.data);
        if (end->playlist_entry_id != m_entry || m_startsAwaited > 0)
            break;   // an earlier opening, replaced by a newer one
        if (end->reason == MPV_END_FILE_REASON_ERROR)
            m_lastError = QStringLiteral("The disc could not be played: %1").arg(mpvError(end->error));
        m_pendingSteps = 0;
        setState(State::Idle);
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        emit playbackRestarted();
        break;
    default:
        break;
    }
}

void DvdControl::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

Reply DvdControl::open(bool paused)
{
    if (!m_mpv)
        return Reply::failure(m_lastError);
    m_source = discSource();
    const DiscState disc = probeDisc(m_source);
    if (disc != DiscState::Ready)
        return Reply::failure(describe(disc, m_source));
    const QByteArray device = m_source.toUtf8();
    mpv_set_property_string(m_mpv, "dvd-device", device.constData());
    mpv_set_property_string(m_mpv, "pause", paused ? "yes" : "no");
    const char *args[] = {"loadfile", "dvdnav://", "replace", nullptr};
    const int rc = mpv_command(m_mpv, args);
    if (rc < 0)
        return Reply::failure(mpvError(rc));
    ++m_startsAwaited;
    m_pendingSteps = 0;
    m_lastError.clear();
    setState(State::Opening);
    return Reply::success();
}

Reply DvdControl::needOpen() const
{
    if (!m_mpv)
        return Reply::failure(m_lastError);
    if (m_state == State::Idle) {
        const DiscState disc = probeDisc(m_source);
        if (disc != DiscState::Ready)
            return Reply::failure(describe(disc, m_source));
        return Reply::failure(m_lastError.isEmpty() ? QStringLiteral("No disc is open.") : m_lastError);
    }
    return Reply::success();
}

Reply DvdControl::mpvCommand(std::initializer_list<const char *> args)
{
    std::vector<const char *> list(args);
    list.push_back(nullptr);
    const int rc = mpv_command(m_mpv, list.data());
    return rc < 0 ? Reply::failure(mpvError(rc)) : Reply::success();
}

Reply DvdControl::setFlag(const char *name, bool on)
{
    int flag = on ? 1 : 0;
    const int rc = mpv_set_property(m_mpv, name, MPV_FORMAT_FLAG, &flag);
    return rc < 0 ? Reply::failure(mpvError(rc)) : Reply::success();
}

int DvdControl::chapterCount() const
{
    int64_t count = 0;
    if (!m_mpv || mpv_get_property(m_mpv, "chapters", MPV_FORMAT_INT64, &count) < 0)
        return 0;
    return int(count);
}

Reply DvdControl::stepChapter(int step)
{
    int64_t chapter = 0;
    const int count = chapterCount();
    if (mpv_get_property(m_mpv, "chapter", MPV_FORMAT_INT64, &chapter) < 0 || count <= 0)
        return Reply::success();   // a title without chapters: nothing to step through
    if (step > 0) {
        // Past the last chapter mpv would end the disc; stay where we are instead.
        if (chapter + 1 >= count)
            return Reply::success();
        return mpvCommand({"add", "chapter", "1"});
    }
    if (chapter <= 0) {
        int64_t first = 0;   // before or in the first chapter: back to its start
        const int rc = mpv_set_property(m_mpv, "chapter", MPV_FORMAT_INT64, &first);
        return rc < 0 ? Reply::failure(mpvError(rc)) : Reply::success();
    }
    return mpvCommand({"add", "chapter", "-1"});
}

Reply DvdControl::invoke(int member, InvokeKind kind, const QVariantList &args)
{
    if (g_hook) {
        if (std::optional<Reply> answer = g_hook(member, kind, args))
            return *answer;
    }
    const auto expect = [&](InvokeKind wanted, int argCount) -> Reply {
        if (kind != wanted)
            return Reply::failure(QStringLiteral("Member %1 cannot be used that way.").arg(member));
        if (args.size() != argCount)
            return Reply::failure(QStringLiteral("Member %1 takes %2 argument(s).").arg(member).arg(argCount));
        return Reply::success();
    };
    // A request made the right way, to a control that has a disc open.
    const auto expectOpen = [&](InvokeKind wanted) -> Reply {
        if (Reply r = expect(wanted, 0); !r)
            return r;
        return needOpen();
    };

    switch (member) {
    case Member::Play: {
        if (Reply r = expect(InvokeKind::Method, 0); !r)
            return r;
        if (m_state == State::Idle)
            return open(false);
        return setFlag("pause", false);
    }
    case Member::Pause: {
        if (Reply r = expectOpen(InvokeKind::Method); !r)
            return r;
        return setFlag("pause", true);
    }
    case Member::Stop: {
        if (Reply r = expectOpen(InvokeKind::Method); !r)
            return r;
        // The navigator cannot always seek backwards: opening the disc again is the
        // sure way back to its start.
        return open(true);
    }
    case Member::PlayNextChapter:
    case Member::PlayPrevChapter: {
        if (Reply r = expectOpen(InvokeKind::Method); !r)
            return r;
        const int step = member == Member::PlayNextChapter ? 1 : -1;
        if (m_state == State::Opening) {
            m_pendingSteps += step;   // carried out once the disc is open
            return Reply::success();
        }
        return stepChapter(step);
    }
    case Member::CurrentChapter: {
        if (Reply r = expectOpen(InvokeKind::PropertyGet); !r)
            return r;
        int64_t chapter = 0;
        if (m_state == State::Loaded && mpv_get_property(m_mpv, "chapter", MPV_FORMAT_INT64, &chapter) >= 0)
            return Reply::success(int(std::max<int64_t>(chapter, 0) + 1));
        return Reply::success(1);   // still opening, or no chapters: the first
    }
    case Member::CurrentTime: {
        if (Reply r = expectOpen(InvokeKind::PropertyGet); !r)
            return r;
        return Reply::success(clockText(position()));
    }
    case Member::Mute: {
        if (kind == InvokeKind::PropertyGet && args.isEmpty()) {
            if (Reply r = needOpen(); !r)
                return r;
            return Reply::success(isMuted());
        }
        if (Reply r = expect(InvokeKind::PropertyPut, 1); !r)
            return r;
        const std::optional<bool> on = truthValue(args.first());
        if (!on)
            return Reply::failure(QStringLiteral("Mute takes true or false."));
        if (Reply r = needOpen(); !r)
            return r;
        return setFlag("mute", *on);
    }
    default:
        return Reply::failure(QStringLiteral("The control has no member %1.").arg(member));
    }
}

bool DvdControl::isPaused() const
{
    int flag = 0;
    return m_mpv && mpv_get_property(m_mpv, "pause", MPV_FORMAT_FLAG, &flag) >= 0 && flag;
}

bool DvdControl::isMuted() const
{
    int flag = 0;
    return m_mpv && mpv_get_property(m_mpv, "mute", MPV_FORMAT_FLAG, &flag) >= 0 && flag;
}

double DvdControl::position() const
{
    double seconds = -1;
    if (!m_mpv || m_state != State::Loaded
        || mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0)
        return m_state == State::Idle ? -1 : 0;
    return seconds;
}

float DvdControl::widthTwips() const { return float(forms::twips(width())); }
float DvdControl::heightTwips() const { return float(forms::twips(height())); }
void DvdControl::setWidthTwips(float w) { resize(forms::px(w), height()); }
void DvdControl::setHeightTwips(float h) { resize(width(), forms::px(h)); }

void DvdControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_surface)
        m_surface->setGeometry(rect());
}

void DvdControl::paintEvent(QPaintEvent *)
{
    // Without a picture surface the control is a black screen.
    if (m_surface)
        return;
    QPainter(this).fillRect(rect(), Qt::black);
}

} // namespace dvd
