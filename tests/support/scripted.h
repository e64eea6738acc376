#pragma once
// Scripted answers for message boxes and file dialogs, and a record of what was asked.
// Install one in a test; it removes its handlers when it goes away.
#include "forms/filedialog.h"
#include "forms/msgbox.h"
#include <QList>
#include <QQueue>

namespace tavtest {

class ScriptedMsgBoxes {
public:
    ScriptedMsgBoxes();
    ~ScriptedMsgBoxes();
    // Answers for the next boxes, in order; when none is queued the default button answers.
    void answer(int result) { m_answers.enqueue(result); }
    QList<forms::MsgBoxRequest> shown;
    QStringList texts() const;
    void clear() { shown.clear(); m_answers.clear(); }
    // Runs while a box is "open", before it is answered: a test can make time pass
    // or click things here, as a user could while a real box is up.
    std::function<void(const forms::MsgBoxRequest &)> whileOpen;

private:
    QQueue<int> m_answers;
};

class ScriptedFileDialogs {
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs();
    void choose(const QString &fileName) { m_answers.enqueue(fileName); }
    void cancel() { m_answers.enqueue(QString()); }    // an empty answer cancels
    QList<forms::FileDialogRequest> shown;

private:
    QQueue<QString> m_answers;
};

} // namespace tavtest
