#pragma once
// The player window: Open, Pause/Play, Close, Back, Exit and Loop, driving one file
// through the media control interface under the alias "MP3Play".
//
// What the player is doing is held in the controls: the enabled buttons, the caption
// of the Pause button ("Play" while the user has paused) and the loop timer's flag.
#include "forms/controls.h"
#include "forms/filedialog.h"
#include "forms/form.h"
#include "forms/timer.h"

namespace mp3player {

class Form1 : public forms::Form {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    forms::CommandButton *Command1;   // Open
    forms::CommandButton *Command3;   // Close
    forms::CheckBox *Check1;          // Loop
    forms::ImageBox *Picture1;
    forms::CommandButton *Command2;   // Pause / Play
    forms::CommandButton *Command4;   // Back
    forms::CommandButton *Command5;   // Exit
    forms::Timer *Timer1;             // the loop timer

    // The playback commands, each sent to the device "MP3Play".
    void MP3Play(const QString &sFileName);
    void MP3Pause();
    void MP3UnPause();
    void MP3Stop();
    void MP3Restart();
    bool IsPlaying();

    // The last file chosen in the open-file dialog.
    QString currentFile() const { return m_currentFile; }

protected:
    void formUnload() override;

private:
    void createControls();
    void connectEvents();
    void command1Click();
    void command2Click();
    void command3Click();
    void command4Click();
    void checkClick();
    void timer1Timer();
    void showOpenDialog();

    QString m_currentFile;
    // The open-file request, kept between dialogs: the filter chosen last time stays.
    forms::FileDialogRequest m_openFile;
    // The answer of the last mode query, as the interface left it.
    char m_mode[30] = {};
    bool m_unloaded = false;
};

} // namespace mp3player
