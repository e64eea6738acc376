#pragma once
// A window laid out in twips, with the lifecycle of the toolkit the programs were
// written for: Load once before it is first shown, Unload when it closes (by code or
// by its close box), one close path, and the window deleting itself afterwards.
//
// Forms are always created with new. Once unloaded they are gone; a caller that needs
// the window again creates a fresh one, which loads afresh.
#include "forms/twips.h"
#include <QPixmap>
#include <QPoint>
#include <QWidget>
#include <cstdint>

namespace forms {

enum class BorderStyle { None = 0, FixedSingle = 1, Sizable = 2, FixedDialog = 3, FixedToolWindow = 4 };
enum class StartUpPosition { Manual = 0, CenterOwner = 1, CenterScreen = 2, WindowsDefault = 3 };
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    // Design properties, set by the window's constructor.
    void setCaption(const QString &caption) { setWindowTitle(caption); }
    QString caption() const { return windowTitle(); }
    void setBorderStyle(BorderStyle style);
    BorderStyle borderStyle() const { return m_border; }
    void setMinButton(bool on);
    void setMaxButton(bool on);
    void setControlBox(bool on);
    void setShowInTaskbar(bool on);
    bool showInTaskbar() const { return m_taskbar; }
    void setMovable(bool on) { m_movable = on; }
    bool isMovable() const { return m_movable; }
    void setClientSizeTwips(int width, int height);
    void setStartUpPosition(StartUpPosition position, QPoint manualTwips = QPoint());
    StartUpPosition startUpPosition() const { return m_startUp; }
    void setBackColor(std::uint32_t color);
    // A background picture, stretched over the client area.
    void setPicture(const QPixmap &picture);

    // Lifecycle.
    void load();                              // runs Load once; showing loads as well
    bool isLoaded() const { return m_loaded; }
    void showModeless(QWidget *owner = nullptr);
    // Shows the window modally. It returns once the window has been unloaded, unless
    // modal showing is set not to block (tests that drive the window from outside).
    void showModal(QWidget *owner = nullptr);
    bool isShownModally() const { return m_modal; }
    void unload() { close(); }                // the one close path: runs Unload, then deletes

    // Window state and placement in twips, outer size (border and title bar included).
    WindowState windowStateValue() const;
    void setWindowStateValue(WindowState state);
    int leftTwips() const;
    int topTwips() const;
    int widthTwips() const;
    int heightTwips() const;
    void setOuterGeometryTwips(int left, int top, int width, int height);
    void moveTwips(int left, int top);

    // Whether showModal blocks in a nested event loop (the default) or returns at once.
    static void setModalShowBlocks(bool blocks);
    static bool modalShowBlocks();

signals:
    void loaded();
    void unloaded();
    void mouseMoved();   // the window's own background, not a control on it

protected:
    virtual void formLoad() {}
    virtual void formUnload() {}
    // Called from formUnload: the window stays open and loaded, as if it had not been
    // asked to close (the Cancel argument of the toolkit's Unload event).
    void cancelUnload() { m_cancelUnload = true; }
    virtual void formResize() {}

    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyFlags();
    void placeAtFirstShow();
    QSize frameExtra() const;

    BorderStyle m_border = BorderStyle::Sizable;
    StartUpPosition m_startUp = StartUpPosition::WindowsDefault;
    QPoint m_manualTwips;
    QSize m_clientPx;
    QPixmap m_picture;
    bool m_minButton = true, m_maxButton = true, m_controlBox = true, m_taskbar = true;
    bool m_movable = true;
    bool m_loaded = false, m_unloading = false, m_placed = false, m_modal = false;
    bool m_restoringPosition = false;
    bool m_cancelUnload = false;
    bool m_outerPending = false;
    QRect m_outerTwips;
    QPoint m_fixedPos;
    QWidget *m_owner = nullptr;
};

} // namespace forms
