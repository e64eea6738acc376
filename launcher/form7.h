#pragma once
// The closing screen: thanks the user while its bar fills for about five seconds, then
// ends the program. "About Tavolin" leaves through the About box instead.
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/timer.h"

namespace launcher {

class Form7 : public forms::Form {
    Q_OBJECT
public:
    explicit Form7(QWidget *parent = nullptr);

    forms::Label *Label1, *Label2;
    forms::ProgressBar *ProgressBar1;
    forms::Timer *Timer1;

protected:
    void formLoad() override;
    void formUnload() override;

private:
    void timerTick();
    void showAbout();
};

} // namespace launcher
