#include "forms/msgbox.h"
#include "forms/program.h"
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QVector>

namespace forms {

namespace {
MsgBoxHandler g_handler;

QVector<int> resultsFor(int buttons)
{
    switch (buttons & 0x0F) {
    case MsgBoxStyle::OkCancel: return {MsgBoxResult::Ok, MsgBoxResult::Cancel};
    case MsgBoxStyle::AbortRetryIgnore:
        return {MsgBoxResult::Abort, MsgBoxResult::Retry, MsgBoxResult::Ignore};
    case MsgBoxStyle::YesNoCancel: return {MsgBoxResult::Yes, MsgBoxResult::No, MsgBoxResult::Cancel};
    case MsgBoxStyle::YesNo: return {MsgBoxResult::Yes, MsgBoxResult::No};
    case MsgBoxStyle::RetryCancel: return {MsgBoxResult::Retry, MsgBoxResult::Cancel};
    default: return {MsgBoxResult::Ok};
    }
}

QMessageBox::StandardButton standardButton(int result)
{
    switch (result) {
    case MsgBoxResult::Cancel: return QMessageBox::Cancel;
    case MsgBoxResult::Abort: return QMessageBox::Abort;
    case MsgBoxResult::Retry: return QMessageBox::Retry;
    case MsgBoxResult::Ignore: return QMessageBox::Ignore;
    case MsgBoxResult::Yes: return QMessageBox::Yes;
    case MsgBoxResult::No: return QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

int defaultIndex(int buttons, int count)
{
    int index = 0;
    if (buttons & MsgBoxStyle::DefaultButton3)
        index = 2;
    else if (buttons & MsgBoxStyle::DefaultButton2)
        index = 1;
    return index < count ? index : 0;
}
} // namespace

void setMsgBoxHandler(MsgBoxHandler handler) { g_handler = std::move(handler); }

int defaultResult(int buttons)
{
    const QVector<int> results = resultsFor(buttons);
    return results.at(defaultIndex(buttons, results.size()));
}

int msgBox(const QString &text, int buttons, const QString &title, const QString &helpFile,
           int context, QWidget *owner)
{
    MsgBoxRequest request{text, title.isEmpty() ? program().title : title, buttons, helpFile,
                          context, owner ? owner : QApplication::activeWindow()};
    if (g_handler)
        return g_handler(request);

    QMessageBox box(request.owner);
    box.setObjectName(QStringLiteral("msgBox"));
    box.setWindowTitle(request.title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (buttons & 0x70) {
    case MsgBoxStyle::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgBoxStyle::Question: box.setIcon(QMessageBox::Question); break;
    case MsgBoxStyle::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgBoxStyle::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    const QVector<int> results = resultsFor(buttons);
    QVector<QAbstractButton *> created;
    for (int r : results)
        created.append(box.addButton(standardButton(r)));
    box.setDefaultButton(qobject_cast<QPushButton *>(created.at(defaultIndex(buttons, results.size()))));
    // Escape answers Cancel or No where the box has one, else the only button.
    if (results.contains(MsgBoxResult::Cancel))
        box.setEscapeButton(created.at(results.indexOf(MsgBoxResult::Cancel)));
    else if (results.size() == 1)
        box.setEscapeButton(created.first());
    else if (results.contains(MsgBoxResult::No))
        box.setEscapeButton(created.at(results.indexOf(MsgBoxResult::No)));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    const int index = created.indexOf(box.clickedButton());
    if (index < 0)  // closed without a button: the escape answer
        return results.contains(MsgBoxResult::Cancel) ? MsgBoxResult::Cancel
               : results.contains(MsgBoxResult::No)   ? MsgBoxResult::No
                                                      : results.first();
    return results.at(index);
}

} // namespace forms
