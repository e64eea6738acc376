#pragma once
// The control panel: the program's start-up window. It opens the video window, keeps
// "Open DVD Window" in step with it, minimizes and restores it, sends the requests to
// its DVD control and shows the disc's status every 10 seconds.
#include "dvdplayer/form1.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/timer.h"
#include <QPointer>

namespace dvdplayer {

class Form2 : public forms::Form {
    Q_OBJECT
public:
    explicit Form2(QWidget *parent = nullptr);

    forms::Shape *Shape1;
    forms::Label *Label2;
    forms::CommandButton *Command1, *Command3, *Command2, *Command4, *Command5, *Command6,
        *Command7, *Command8;
    forms::Timer *Timer1, *Timer2;

    // The video window, created (hidden, loaded) if there is none at the moment.
    Form1 *videoWindow();
    // The video window if one exists, without creating it.
    Form1 *existingVideoWindow() const { return m_video; }

    // Where the panel goes on a screen of the given size: a quarter of the way across
    // and two thirds of the way down (all in twips).
    static QPoint placement(int screenWidthTwips, int screenHeightTwips);

    static const QString MessageA;
    static const QString MessageB;

protected:
    void formLoad() override;
    void formUnload() override;

private:
    void createControls();
    void connectEvents();
    void guardedRequest(int member);
    void toggleMute();
    void toggleMinimize();
    void pollVideoWindow();
    void refreshStatus();
    void refreshFailed();

    QPointer<Form1> m_video;
};

} // namespace dvdplayer
