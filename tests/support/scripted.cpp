#include "support/scripted.h"

namespace tavtest {

ScriptedMsgBoxes::ScriptedMsgBoxes()
{
    forms::setMsgBoxHandler([this](const forms::MsgBoxRequest &request) {
        shown.append(request);
        if (whileOpen)
            whileOpen(request);
        return m_answers.isEmpty() ? forms::defaultResult(request.buttons) : m_answers.dequeue();
    });
}

ScriptedMsgBoxes::~ScriptedMsgBoxes() { forms::setMsgBoxHandler(nullptr); }

QStringList ScriptedMsgBoxes::texts() const
{
    QStringList result;
    for (const auto &r : shown)
        result << r.text;
    return result;
}

ScriptedFileDialogs::ScriptedFileDialogs()
{
    forms::setFileDialogHandler([this](const forms::FileDialogRequest &request) {
        shown.append(request);
        forms::FileDialogResult result;
        const QString name = m_answers.isEmpty() ? QString() : m_answers.dequeue();
        result.accepted = !name.isEmpty();
        result.fileName = name;
        result.filterIndex = request.filterIndex;
        return result;
    });
}

ScriptedFileDialogs::~ScriptedFileDialogs() { forms::setFileDialogHandler(nullptr); }

} // namespace tavtest
