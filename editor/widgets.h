#pragma once
// The editor window's platform pieces: the shared file dialog, the toolbar's image list,
// the text area and the status bar.
#include "forms/timer.h"
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <cstdint>

namespace editor {

// One common file dialog, kept for the window's life: what a use sets stays set for the
// next one, and the file name is both the initial name and the result.
class CommonDialog : public QObject {
    Q_OBJECT
public:
    explicit CommonDialog(QWidget *owner);

    QString DialogTitle;
    QString Filter;
    int FilterIndex = 1;
    QString FileName;
    bool CancelError = false;   // this program always clears it: a cancel is no error

    // Return true once a name was chosen. A cancel leaves FileName as it was.
    bool ShowOpen();
    bool ShowSave();

private:
    bool show(bool save);
    QWidget *m_owner;
};

// Pictures by key; the mask colour shows as transparent.
class ImageList : public QObject {
    Q_OBJECT
public:
    ImageList(QObject *parent, std::uint32_t maskColor);
    std::uint32_t maskColor() const { return m_mask; }
    void add(const QString &key, const QPixmap &picture);
    QPixmap picture(const QString &key) const { return m_pictures.value(key); }

private:
    std::uint32_t m_mask;
    QHash<QString, QPixmap> m_pictures;
};

// The multi-line text box. It reports each key press's character code before handling
// the key, and leaves the window's menu shortcuts to the menus.
class TextArea : public QPlainTextEdit {
    Q_OBJECT
public:
    TextArea(QWidget *parent, const QString &name);
    void setMenuShortcuts(const QList<QKeySequence> &keys) { m_menuKeys = keys; }

signals:
    void keyPress(int keyAscii);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QList<QKeySequence> m_menuKeys;
};

// The status bar: a text panel, then the date and the time, which it keeps current.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    StatusBar(QWidget *parent, const QString &name);
    int panelCount() const { return 3; }
    QString panelText(int index) const;   // 1-based
    QString panelKey(int index) const;
    void refresh();

private:
    QLabel *m_panels[3];
    forms::Timer m_clock;
};

} // namespace editor
