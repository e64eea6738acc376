#pragma once
// The picture inside the DVD control: mpv's render API drawing the current frame into
// an image that the widget paints. It needs neither a graphics card nor OpenGL, and it
// works while the window is still hidden, so a disc can be opened before it is shown.
#include <QImage>
#include <QWidget>
#include <atomic>
#include <memory>

struct mpv_handle;
struct mpv_render_context;

namespace dvd {

class VideoSurface : public QWidget {
    Q_OBJECT
public:
    VideoSurface(mpv_handle *mpv, QWidget *parent);
    ~VideoSurface() override;

    bool isReady() const { return m_render != nullptr; }
    // Frames painted since the surface was created.
    int framesDrawn() const { return m_frames; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static void onUpdate(void *self);
    void frameReady();

    mpv_render_context *m_render = nullptr;
    std::unique_ptr<uchar[], void (*)(void *)> m_buffer{nullptr, nullptr};
    QImage m_image;
    int m_frames = 0;
    std::atomic_bool m_updateQueued{false};
};

} // namespace dvd
