#pragma once
// The running program's identity, the end of the program, fonts and the mouse pointer.
#include <QString>
#include <functional>

class QWidget;

namespace forms {

struct ProgramInfo {
    QString title;        // default caption of message boxes
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// "Version 1.0.12": the three numbers in plain decimal.
QString versionText(const ProgramInfo &info);

// Called once by each program's main (and by tests) before any window is created.
// Also installs the substitutes for the fonts the windows ask for.
void setProgram(const ProgramInfo &info);
const ProgramInfo &program();

// Ends the program at once: every window is hidden, no Unload code runs, and the
// event loop (nested ones included) returns. Tests replace the final step so the
// test process lives on and can see that the program ended.
void endProgram();
void setEndProgramHandler(std::function<void()> handler);  // empty: quit the application
int endProgramCount();  // how often endProgram ran since the program started

// The window-wide mouse pointer, by the toolkit's codes: 0 default, 1 arrow,
// 2 cross-hair, 3 I-beam, 11 hourglass, 12 no-drop, 99 custom (treated as default).
void setMousePointer(QWidget *window, int code);
int mousePointer(const QWidget *window);

} // namespace forms
