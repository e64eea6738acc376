#include "dvdplayer/form2.h"
#include "forms/colors.h"
#include "forms/msgbox.h"
#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <limits>
#include <optional>

namespace dvdplayer {

const QString Form2::MessageA = QStringLiteral(
    "Please insert a DVD disk.  Our program has found that there isn't a disk in the DVD drive "
    "and/or there isn't a DVD drive.");
const QString Form2::MessageB = QStringLiteral(
    "Please insert a DVD disk.  Our program found no DVD disk or no DVD drive in/on your system.");

namespace {

const QString Minimize = QStringLiteral("Minimize");
const QString Maximize = QStringLiteral("Maximize");
const QString Mute = QStringLiteral("Mute");
const QString Unmute = QStringLiteral("Unmute");

// A value read from the control as a 32-bit whole number: numbers are rounded to the
// nearest (halves to even), texts must hold a number, anything else does not convert.
std::optional<qint32> wholeNumber(const QVariant &value)
{
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? -1 : 0;
    case QMetaType::Int: case QMetaType::Short: case QMetaType::UShort: case QMetaType::Char:
    case QMetaType::SChar: case QMetaType::UChar:
        return value.toInt();
    case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Long:
    case QMetaType::ULong: {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (!ok || (value.typeId() == QMetaType::ULongLong && value.toULongLong() > quint64(INT32_MAX)))
            return std::nullopt;
        number = double(n);
        break;
    }
    case QMetaType::Double: case QMetaType::Float:
        number = value.toDouble();
        break;
    case QMetaType::QString: {
        bool ok = false;
        number = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
        break;
    }
    default:
        return std::nullopt;
    }
    if (!std::isfinite(number))
        return std::nullopt;
    const double rounded = std::nearbyint(number);
    if (rounded < double(std::numeric_limits<qint32>::min()) || rounded > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(rounded);
}

// A value read from the control as text; an empty (null) value does not convert.
std::optional<QString> text(const QVariant &value)
{
    if (!value.isValid() || value.isNull() || !value.canConvert<QString>())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::QVariantList: case QMetaType::QVariantMap: case QMetaType::QStringList:
        return std::nullopt;
    default:
        return value.toString();
    }
}

} // namespace

Form2::Form2(QWidget *parent) : forms::Form(parent)
{
    createControls();
    connectEvents();
}

void Form2::createControls()
{
    setObjectName(QStringLiteral("Form2"));
    setCaption(QStringLiteral("Controls--MOVIE"));
    setBorderStyle(forms::BorderStyle::Sizable);
    setMinButton(true);
    setMaxButton(false);
    setShowInTaskbar(true);
    setMovable(false);
    setBackColor(forms::SystemColor::InactiveBorder);
    setClientSizeTwips(4680, 1320);
    setStartUpPosition(forms::StartUpPosition::WindowsDefault);
    // Controls without a font of their own use the toolkit's default.
    forms::setFont(this, QStringLiteral("MS Sans Serif"), 8);

    Shape1 = new forms::Shape(this, QStringLiteral("Shape1"), {0, 120, 1575, 495}, 0x00000000);
    Label2 = new forms::Label(this, QStringLiteral("Label2"), QStringLiteral("--  -  --  -  --"),
                              {0, 240, 1575, 255});
    Label2->setTransparent(true);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    forms::setForeColor(Label2, 0x0000FFFF);
    forms::setFont(Label2, QStringLiteral("MS Sans Serif"), 12, true);
    Label2->setAccessibleDescription(QStringLiteral("Disc status"));

    Command1 = new forms::CommandButton(this, QStringLiteral("Command1"), Minimize, {120, 720, 1215, 255});
    forms::setBackColor(Command1, forms::SystemColor::Highlight);
    Command3 = new forms::CommandButton(this, QStringLiteral("Command3"), QStringLiteral("Play >"),
                                        {1920, 120, 735, 255});
    Command2 = new forms::CommandButton(this, QStringLiteral("Command2"), QString(), {2760, 120, 735, 255});
    Command2->setDescription(QStringLiteral("Pause"));
    Command4 = new forms::CommandButton(this, QStringLiteral("Command4"), QString(), {3600, 120, 735, 255});
    Command4->setDescription(QStringLiteral("Stop"));
    Command5 = new forms::CommandButton(this, QStringLiteral("Command5"), QStringLiteral("Scene >"),
                                        {1920, 480, 735, 255});
    Command6 = new forms::CommandButton(this, QStringLiteral("Command6"), QStringLiteral("< Scene"),
                                        {2760, 480, 735, 255});
    Command7 = new forms::CommandButton(this, QStringLiteral("Command7"), Mute, {3600, 480, 735, 255});
    Command8 = new forms::CommandButton(this, QStringLiteral("Command8"), QStringLiteral("Open DVD Window"),
                                        {1920, 840, 2415, 255});
    Command8->setEnabled(true);

    Timer1 = new forms::Timer(this, 10000, true);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2 = new forms::Timer(this, 1, true);
    Timer2->setObjectName(QStringLiteral("Timer2"));
}

void Form2::connectEvents()
{
    connect(Command3, &QPushButton::clicked, this, [this] { guardedRequest(dvd::Member::Play); });
    connect(Command2, &QPushButton::clicked, this, [this] { guardedRequest(dvd::Member::Pause); });
    connect(Command4, &QPushButton::clicked, this, [this] { guardedRequest(dvd::Member::Stop); });
    connect(Command5, &QPushButton::clicked, this, [this] { guardedRequest(dvd::Member::PlayNextChapter); });
    connect(Command6, &QPushButton::clicked, this, [this] { guardedRequest(dvd::Member::PlayPrevChapter); });
    connect(Command7, &QPushButton::clicked, this, &Form2::toggleMute);
    connect(Command1, &QPushButton::clicked, this, &Form2::toggleMinimize);
    connect(Command8, &QPushButton::clicked, this, [this] { videoWindow()->showModeless(); });
    connect(Timer1, &forms::Timer::tick, this, &Form2::refreshStatus);
    connect(Timer2, &forms::Timer::tick, this, &Form2::pollVideoWindow);
}

Form1 *Form2::videoWindow()
{
    if (!m_video) {
        m_video = new Form1;
        m_video->load();
    }
    return m_video;
}

QPoint Form2::placement(int screenWidthTwips, int screenHeightTwips)
{
    return QPoint(int(std::lround(screenWidthTwips / 4.0)), int(std::lround(screenHeightTwips / 1.5)));
}

void Form2::formLoad()
{
    videoWindow()->showModeless();
    QScreen *screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
    const QPoint at = placement(int(forms::twips(size.width())), int(forms::twips(size.height())));
    moveTwips(at.x(), at.y());
}

void Form2::formUnload()
{
    // The program ends with the panel: nothing may bring the video window back now.
    Timer1->setEnabled(false);
    Timer2->setEnabled(false);
    if (m_video)
        m_video->unload();
}

void Form2::pollVideoWindow()
{
    // "Open DVD Window" is offered exactly while the video window is not shown.
    Command8->setEnabled(!videoWindow()->isVisible());
}

void Form2::toggleMinimize()
{
    Command1->setText(Command1->text() == Minimize ? Maximize : Minimize);
    if (Command1->text() == Minimize)
        videoWindow()->setWindowStateValue(forms::WindowState::Minimized);
    else if (Command1->text() == Maximize)
        videoWindow()->setWindowStateValue(forms::WindowState::Normal);
}

void Form2::guardedRequest(int member)
{
    if (!videoWindow()->DVD->call(member))
        forms::msgBox(MessageA, forms::MsgBoxStyle::OkOnly);
}

void Form2::toggleMute()
{
    const bool muting = Command7->text() == Mute;
    if (!videoWindow()->DVD->put(dvd::Member::Mute, muting)) {
        forms::msgBox(MessageA, forms::MsgBoxStyle::OkOnly);
        return;
    }
    Command7->setText(Command7->text() != Mute ? Mute : Unmute);
}

void Form2::refreshStatus()
{
    const dvd::Reply chapter = videoWindow()->DVD->get(dvd::Member::CurrentChapter);
    const std::optional<qint32> n = chapter ? wholeNumber(chapter.value) : std::nullopt;
    if (!n) {
        refreshFailed();
        return;
    }
    setCaption(QStringLiteral("Control--MOVIE (%1)").arg(*n));

    const dvd::Reply position = videoWindow()->DVD->get(dvd::Member::CurrentTime);
    const std::optional<QString> shown = position ? text(position.value) : std::nullopt;
    if (!shown) {
        refreshFailed();
        return;
    }
    Label2->setCaption(*shown);
}

void Form2::refreshFailed()
{
    Label2->setCaption(QStringLiteral("NO DVD"));
    forms::msgBox(MessageB, forms::MsgBoxStyle::OkOnly);
    Timer1->setEnabled(false);
}

} // namespace dvdplayer
