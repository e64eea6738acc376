#pragma once
// The editor's one window: menus, toolbar, text area, status bar, the document state
// and the file commands that move the document between the text area and a file.
#include "editor/documentfile.h"
#include "editor/widgets.h"
#include "forms/controls.h"
#include "forms/form.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>
#include <functional>
#include <memory>

class QThread;
class QTimer;

namespace editor {

class frmMain : public forms::Form {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    QMenuBar *menuBar;
    QMenu *mnuFile;
    QAction *mnuFileNew, *mnuFileOpen, *mnuFileSave, *saveas, *mnuFileExit;
    QMenu *edit;
    QAction *cut, *copy, *paste;
    QMenu *mnuHelp;
    QAction *mnuHelpAbout;
    QToolBar *tbToolBar;
    ImageList *imlToolbarIcons;
    TextArea *ctrlTextEdit;
    StatusBar *sbStatusBar;
    CommonDialog *dlgCommonDialog;
    forms::MultiLineTextBox *Text1;

    // The document state.
    QString DocumentPath;
    bool Saved = true;

    // The file commands as the menus run them: a file error gets a message box and the
    // document keeps the path it had.
    void New();
    void Open();
    void Save();
    void SaveFileAs();
    // The closing sequence's save when the document has no file yet. Returns false when
    // nothing was written (the window then stays open, so the text is not lost).
    bool SaveOnClose();
    // The toolbar's dispatch: runs New, Open or Save by the button's key, ignoring errors.
    void tbToolBar_ButtonClick(QAction *button);

    void Cut();
    void Copy();
    void Paste();

    // The area below the menu bar, in the window's coordinates.
    QRect innerArea() const;

    // Large documents are loaded and saved a step at a time, so the window keeps
    // answering; meanwhile the text is read-only and the file commands wait.
    bool isBusy() const { return bool(m_job); }
    // Completes a load or save in progress at once.
    void finishPendingWork();
    // How much text one step handles (characters); files of more bytes than this are
    // read away from the window's thread.
    static void setStepSize(qsizetype characters);
    static qsizetype stepSize();

    // The text area's content in the document file format.
    QByteArray documentBytes() const;

signals:
    void busyChanged(bool busy);
    void documentOpened(const QString &path);
    void documentWritten(const QString &path, bool ok);

protected:
    void formLoad() override;
    void formUnload() override;
    void formResize() override;

private:
    enum class Errors { Report, Ignore };
    enum class Outcome { Written, Failed, Declined };
    using WriteDone = std::function<void(Outcome, const QString &error)>;
    struct Job;

    void prepareDialog(const QString &title);
    void newDocument();
    void openDocument(Errors errors);
    void saveDocument(Errors errors);
    void readFinished(const ReadResult &result, const QString &path, const QString &previous,
                      Errors errors);
    void loadStep();
    void finishLoad(const QString &path);
    // Writes the document to path; `done` runs once the file is written, or not.
    // `stepwise` lets a large document be encoded and written while the window goes on.
    void WriteDocument(const QString &path, bool stepwise, WriteDone done);
    void encodeStep();
    void afterEncoding();
    // Runs `work` on a thread of its own; the job is finished here once the thread
    // ends, unless another job has taken its place by then.
    void runJobThread(void (*work)(Job &));
    void completeWrite(bool ok, const QString &error);
    void finishThread();
    bool confirmUnrepresentable();
    void reportWriteError(const QString &path, const QString &error, const QString &consequence);
    void setBusy(bool busy);
    void savePlacement();
    void applyStoredPlacement();
    void showAbout();

    QWidget *m_inner;
    QTimer *m_stepTimer;
    std::unique_ptr<Job> m_job;
};

} // namespace editor
