#pragma once
// The message box: text, title, the buttons value and the result codes of the toolkit
// the programs were written for, shown as a QMessageBox.
#include <QString>
#include <functional>

class QWidget;

namespace forms {

// Parts of the buttons value, added together.
namespace MsgBoxStyle {
constexpr int OkOnly = 0;
constexpr int OkCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;      // the stop icon
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
}

// Result codes.
namespace MsgBoxResult {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
}

struct MsgBoxRequest {
    QString text;
    QString title;        // already defaulted to the program title
    int buttons = 0;
    QString helpFile;
    int context = 0;
    QWidget *owner = nullptr;
};

// Shows the box modally and returns the result code. An empty title means the
// program title. The owner defaults to the active window.
int msgBox(const QString &text, int buttons = 0, const QString &title = QString(),
           const QString &helpFile = QString(), int context = 0, QWidget *owner = nullptr);

// Tests script the answers: while a handler is set, no box is shown and the handler's
// return value is the result.
using MsgBoxHandler = std::function<int(const MsgBoxRequest &)>;
void setMsgBoxHandler(MsgBoxHandler handler);

// The default button's result code for a buttons value (what Enter would answer).
int defaultResult(int buttons);

} // namespace forms
