#include "forms/form.h"
#include "forms/colors.h"
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace forms {

namespace {
bool g_modalBlocks = true;
}

void Form::setModalShowBlocks(bool blocks) { g_modalBlocks = blocks; }
bool Form::modalShowBlocks() { return g_modalBlocks; }

Form::Form(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    applyFlags();
}

Form::~Form() = default;

void Form::setBorderStyle(BorderStyle style)
{
    m_border = style;
    if (style == BorderStyle::FixedToolWindow || style == BorderStyle::FixedDialog) {
        m_minButton = false;
        m_maxButton = false;
    }
    applyFlags();
    if (m_clientPx.isValid())
        setClientSizeTwips(int(twips(m_clientPx.width())), int(twips(m_clientPx.height())));
}

void Form::setMinButton(bool on) { m_minButton = on; applyFlags(); }
void Form::setMaxButton(bool on) { m_maxButton = on; applyFlags(); }
void Form::setControlBox(bool on) { m_controlBox = on; applyFlags(); }
void Form::setShowInTaskbar(bool on) { m_taskbar = on; applyFlags(); }

void Form::applyFlags()
{
    Qt::WindowFlags flags;
    switch (m_border) {
    case BorderStyle::None:
        // A borderless window that stays off the taskbar is a tool window to the desktop.
        flags = (m_taskbar ? Qt::Window : Qt::Tool) | Qt::FramelessWindowHint;
        break;
    case BorderStyle::FixedToolWindow:
        flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        break;
    case BorderStyle::FixedDialog:
        flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        break;
    default:
        flags = (m_taskbar ? Qt::Window : Qt::Tool) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        break;
    }
    if (m_border != BorderStyle::None) {
        if (m_controlBox)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (m_controlBox && m_minButton)
            flags |= Qt::WindowMinimizeButtonHint;
        if (m_controlBox && m_maxButton)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    const bool wasVisible = isVisible();
    setWindowFlags(flags);
    if (wasVisible)
        show();
}

void Form::setClientSizeTwips(int width, int height)
{
    m_clientPx = QSize(px(width), px(height));
    const bool fixed = m_border != BorderStyle::Sizable;
    if (fixed) {
        setFixedSize(m_clientPx);
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(m_clientPx);
    }
}

void Form::setStartUpPosition(StartUpPosition position, QPoint manualTwips)
{
    m_startUp = position;
    m_manualTwips = manualTwips;
}

void Form::setBackColor(std::uint32_t value)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color(value));
    setPalette(pal);
    setAutoFillBackground(true);
}

void Form::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void Form::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    formLoad();
    emit loaded();
}

void Form::showModeless(QWidget *owner)
{
    if (owner && owner != parentWidget()) {
        m_owner = owner;
        setParent(owner, windowFlags());
    }
    load();
    if (!m_loaded || m_unloading)
        return;   // Load unloaded the window again
    // Every window without an owner keeps the program alive, tool windows and borderless
    // ones included (Qt leaves those out): closing the last one ends the program.
    if (!parentWidget())
        setAttribute(Qt::WA_QuitOnClose, true);
    show();
}

void Form::showModal(QWidget *owner)
{
    m_modal = true;
    setWindowModality(Qt::ApplicationModal);
    QPointer<Form> self(this);
    showModeless(owner);
    if (!self || !g_modalBlocks || !isVisible())
        return;
    QEventLoop loop;
    connect(this, &Form::unloaded, &loop, &QEventLoop::quit);
    loop.exec();
}

void Form::closeEvent(QCloseEvent *event)
{
    if (m_unloading) {
        event->accept();
        return;
    }
    m_unloading = true;
    m_cancelUnload = false;
    formUnload();
    if (m_cancelUnload) {
        m_cancelUnload = false;
        m_unloading = false;
        event->ignore();
        return;
    }
    event->accept();
    emit unloaded();
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    formResize();
}

void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_placed)
        placeAtFirstShow();
    if (m_outerPending) {
        // The frame is known now: give the window the outer size it was asked for.
        m_outerPending = false;
        setOuterGeometryTwips(m_outerTwips.left(), m_outerTwips.top(), m_outerTwips.width(),
                              m_outerTwips.height());
    }
}

QSize Form::frameExtra() const
{
    const QRect frame = frameGeometry(), client = geometry();
    return frame.size() - client.size();
}

void Form::placeAtFirstShow()
{
    m_placed = true;
    QScreen *scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = scr ? scr->geometry() : QRect(0, 0, 1024, 768);
    const QSize outer = size() + frameExtra();
    QPoint topLeft = pos();
    switch (m_startUp) {
    case StartUpPosition::Manual:
        // The manual position is that of the client area.
        setGeometry(QRect(QPoint(px(m_manualTwips.x()), px(m_manualTwips.y())), size()));
        m_fixedPos = pos();
        return;
    case StartUpPosition::CenterOwner: {
        QWidget *owner = m_owner ? m_owner : parentWidget();
        const QRect around = owner ? owner->window()->frameGeometry() : area;
        topLeft = around.center() - QPoint(outer.width() / 2, outer.height() / 2);
        break;
    }
    case StartUpPosition::CenterScreen:
        topLeft = area.center() - QPoint(outer.width() / 2, outer.height() / 2);
        break;
    case StartUpPosition::WindowsDefault:
        m_fixedPos = pos();
        return;
    }
    move(topLeft);
    m_fixedPos = pos();
}

void Form::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // A window that may not be moved goes back where the program put it.
    if (!m_movable && m_placed && !m_restoringPosition && pos() != m_fixedPos
        && windowState() == Qt::WindowNoState) {
        QPointer<Form> self(this);
        QTimer::singleShot(0, this, [self] {
            if (!self)
                return;
            self->m_restoringPosition = true;
            self->move(self->m_fixedPos);
            self->m_restoringPosition = false;
        });
    }
}

void Form::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    emit mouseMoved();
}

void Form::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(rect(), m_picture);
}

WindowState Form::windowStateValue() const
{
    if (windowState() & Qt::WindowMinimized)
        return WindowState::Minimized;
    if (windowState() & Qt::WindowMaximized)
        return WindowState::Maximized;
    return WindowState::Normal;
}

void Form::setWindowStateValue(WindowState state)
{
    switch (state) {
    case WindowState::Minimized: setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized); break;
    case WindowState::Maximized: setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized); break;
    case WindowState::Normal: setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)); break;
    }
}

int Form::leftTwips() const { return int(twips(frameGeometry().left())); }
int Form::topTwips() const { return int(twips(frameGeometry().top())); }
int Form::widthTwips() const { return int(twips(frameGeometry().width())); }
int Form::heightTwips() const { return int(twips(frameGeometry().height())); }

void Form::setOuterGeometryTwips(int left, int top, int width, int height)
{
    const QSize extra = frameExtra();
    // Before the first showing the frame's size is not known yet.
    m_outerPending = !isVisible();
    m_outerTwips = QRect(left, top, width, height);
    move(px(left), px(top));
    resize(QSize(px(width), px(height)) - extra);
    m_fixedPos = pos();
}

void Form::moveTwips(int left, int top)
{
    move(px(left), px(top));
    m_fixedPos = pos();
}

} // namespace forms
