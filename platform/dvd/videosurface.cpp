#include "dvd/videosurface.h"
#include <QMetaObject>
#include <QPainter>
#include <cstdlib>
#include <mpv/render.h>

namespace dvd {

VideoSurface::VideoSurface(mpv_handle *mpv, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("VideoSurface"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&m_render, mpv, params) < 0) {
        m_render = nullptr;   // no picture; the control still plays and answers requests
        return;
    }
    mpv_render_context_set_update_callback(m_render, &VideoSurface::onUpdate, this);
}

VideoSurface::~VideoSurface()
{
    if (m_render) {
        mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
        mpv_render_context_free(m_render);
    }
}

void VideoSurface::onUpdate(void *self)
{
    // Called on one of mpv's threads: only queue the work for the GUI thread, once.
    auto *surface = static_cast<VideoSurface *>(self);
    if (surface->m_updateQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(surface, [surface] { surface->frameReady(); }, Qt::QueuedConnection);
}

void VideoSurface::frameReady()
{
    m_updateQueued = false;
    if (m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME))
        update();   // hidden widgets are not painted; showing one paints the current frame
}

void VideoSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QSize size = this->size() * devicePixelRatioF();
    if (!m_render || size.isEmpty()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (m_image.size() != size) {
        // Lines aligned to 64 bytes let mpv's scaler work without copying.
        const qsizetype stride = (qsizetype(size.width()) * 4 + 63) / 64 * 64;
        m_buffer = {static_cast<uchar *>(std::aligned_alloc(64, size_t(stride * size.height()))), std::free};
        m_image = QImage(m_buffer.get(), size.width(), size.height(), stride, QImage::Format_RGB32);
        m_image.fill(Qt::black);
    }
    int renderSize[2] = {m_image.width(), m_image.height()};
    size_t stride = size_t(m_image.bytesPerLine());
    // QImage's RGB32 is blue, green, red, unused in memory on little-endian machines.
    const char *format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "bgr0" : "0rgb";
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, renderSize},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>(format)},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, m_buffer.get()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_render(m_render, params) >= 0)
        ++m_frames;
    m_image.setDevicePixelRatio(devicePixelRatioF());
    painter.drawImage(QPoint(0, 0), m_image);
}

} // namespace dvd
