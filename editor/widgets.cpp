#include "editor/widgets.h"
#include "forms/colors.h"
#include "forms/filedialog.h"
#include <QBitmap>
#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>

namespace editor {

// ---- CommonDialog

CommonDialog::CommonDialog(QWidget *owner) : QObject(owner), m_owner(owner)
{
    setObjectName(QStringLiteral("dlgCommonDialog"));
}

bool CommonDialog::ShowOpen() { return show(false); }
bool CommonDialog::ShowSave() { return show(true); }

bool CommonDialog::show(bool save)
{
    forms::FileDialogRequest request;
    request.mode = save ? forms::FileDialogRequest::Save : forms::FileDialogRequest::Open;
    request.title = DialogTitle;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.fileName = FileName;
    request.fileMustExist = false;      // Open takes any name
    request.confirmOverwrite = false;   // Save replaces without asking
    request.owner = m_owner;
    const forms::FileDialogResult result = forms::showFileDialog(request);
    if (!result.accepted)
        return false;
    FileName = result.fileName;
    FilterIndex = result.filterIndex;
    return true;
}

// ---- ImageList

ImageList::ImageList(QObject *parent, std::uint32_t maskColor) : QObject(parent), m_mask(maskColor)
{
    setObjectName(QStringLiteral("imlToolbarIcons"));
}

void ImageList::add(const QString &key, const QPixmap &picture)
{
    QPixmap masked = picture;
    const QBitmap mask = masked.createMaskFromColor(forms::color(m_mask), Qt::MaskInColor);
    masked.setMask(mask);
    m_pictures.insert(key, masked);
}

// ---- TextArea

TextArea::TextArea(QWidget *parent, const QString &name) : QPlainTextEdit(parent)
{
    setObjectName(name);
    setAccessibleName(QStringLiteral("Text"));
}

bool TextArea::event(QEvent *event)
{
    // The text area would take Ctrl+A, Ctrl+C and the like for itself; the menus have them.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        if (m_menuKeys.contains(pressed)) {
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void TextArea::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    if (!text.isEmpty())
        emit keyPress(qint16(text.at(0).unicode()));
    QPlainTextEdit::keyPressEvent(event);
}

// ---- StatusBar

StatusBar::StatusBar(QWidget *parent, const QString &name) : QStatusBar(parent), m_clock(this, 1000, true)
{
    setObjectName(name);
    setAccessibleName(QStringLiteral("Status bar"));
    setSizeGripEnabled(false);
    setAutoFillBackground(true);   // it lies over the bottom of the text area
    static const char *const keys[3] = {"Status", "Date", "Time"};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QLatin1String(keys[i]));
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        m_panels[i]->setContentsMargins(4, 0, 4, 0);
    }
    m_panels[0]->setText(QStringLiteral("Status"));
    addWidget(m_panels[0], 1);
    addPermanentWidget(m_panels[1]);
    addPermanentWidget(m_panels[2]);
    refresh();
    connect(&m_clock, &forms::Timer::tick, this, &StatusBar::refresh);
}

QString StatusBar::panelText(int index) const
{
    return index >= 1 && index <= 3 ? m_panels[index - 1]->text() : QString();
}

QString StatusBar::panelKey(int index) const
{
    return index >= 1 && index <= 3 ? m_panels[index - 1]->objectName() : QString();
}

void StatusBar::refresh()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    m_panels[1]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_panels[2]->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

} // namespace editor
