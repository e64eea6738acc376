#pragma once
// System Control: a timed progress run, Full at the timer's own interval (2000 ms when
// the window opens) or Low at 1000 ms, announced in a message box when the bar is full.
// Nothing on the machine changes and nothing is stored.
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/timer.h"

namespace launcher {

class Form2 : public forms::Form {
    Q_OBJECT
public:
    explicit Form2(QWidget *parent = nullptr);

    forms::Label *Label1;
    forms::CommandButton *Command1, *Command2, *Command4;
    forms::Line *Line1;
    forms::ProgressBar *ProgressBar1;
    forms::Timer *Timer1;

    static const char *const CompletedText;
    static const char *const StoppedText;

protected:
    void formUnload() override;

private:
    void runFull();
    void runLow();
    void stopRun();
    void timerTick();
};

} // namespace launcher
