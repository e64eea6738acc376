#include "forms/controls.h"
#include "forms/colors.h"
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace forms {

void place(QWidget *control, const TwipsRect &rect)
{
    control->setGeometry(rect.toPixels());
}

void setControlName(QWidget *control, const QString &name, const QString &accessibleName)
{
    control->setObjectName(name);
    QString readable = accessibleName;
    readable.remove(QLatin1Char('&'));
    control->setAccessibleName(readable.isEmpty() ? name : readable);
    control->setMouseTracking(true);
    // Mouse moves stop at the control under the mouse, as the windows expect.
    control->setAttribute(Qt::WA_NoMousePropagation);
}

void setFont(QWidget *control, const QString &family, double points, bool bold, bool underline)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    control->setFont(font);
}

void setForeColor(QWidget *control, std::uint32_t value)
{
    QPalette pal = control->palette();
    const QColor c = color(value);
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::ButtonText, c);
    control->setPalette(pal);
}

void setBackColor(QWidget *control, std::uint32_t value)
{
    QPalette pal = control->palette();
    const QColor c = color(value);
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::Base, c);
    pal.setColor(QPalette::Button, c);
    control->setPalette(pal);
    control->setAutoFillBackground(true);
}

// ---- Label

Label::Label(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &rect)
    : QLabel(caption, parent)
{
    setControlName(this, name, caption);
    // A label reads as its caption; a blank one reads as nothing, not as its control name.
    setCaption(caption);
    place(this, rect);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setLineWidth(1);
}

void Label::setCaption(const QString &caption)
{
    QString readable = caption;
    readable.remove(QLatin1Char('&'));
    // Timers write the same caption again and again: that tells a screen reader nothing.
    if (caption == text() && readable == accessibleName())
        return;
    QLabel::setText(caption);
    setAccessibleName(readable);
}

void Label::setBorder(bool on)
{
    setFrameShape(on ? QFrame::Box : QFrame::NoFrame);
    setFrameShadow(QFrame::Plain);
}

void Label::setTransparent(bool on)
{
    setAutoFillBackground(!on);
    setAttribute(Qt::WA_TranslucentBackground, on);
}

void Label::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->pos());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

void Label::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseMoved();
}

// ---- ImageBox

ImageBox::ImageBox(QWidget *parent, const QString &name, const QString &accessibleName, const TwipsRect &rect)
    : QLabel(parent)
{
    setControlName(this, name, accessibleName);
    place(this, rect);
    setLineWidth(1);
}

void ImageBox::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void ImageBox::setBorder(bool on)
{
    setFrameShape(on ? QFrame::Box : QFrame::NoFrame);
    setFrameShadow(QFrame::Plain);
}

void ImageBox::paintEvent(QPaintEvent *event)
{
    if (!m_picture.isNull()) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (m_stretch)
            painter.drawPixmap(rect(), m_picture);
        else
            painter.drawPixmap(0, 0, m_picture);
    }
    QFrame::paintEvent(event);   // the border, when there is one
}

void ImageBox::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ImageBox::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->pos());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

void ImageBox::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseMoved();
}

// ---- Frame

Frame::Frame(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &rect)
    : QGroupBox(caption, parent)
{
    setControlName(this, name, caption);
    place(this, rect);
}

void Frame::setBorderShown(bool on)
{
    setFlat(!on);
    if (!on) {
        // Style sheets replace the palette's background for group boxes: carry it along.
        const QColor back = palette().color(QPalette::Window);
        setStyleSheet(QStringLiteral("QGroupBox#%1 { border: none; margin: 0; padding: 0; %2 }")
                          .arg(objectName(),
                               autoFillBackground() ? QStringLiteral("background-color: %1;").arg(back.name())
                                                    : QString()));
    }
}

void Frame::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseMoved();
}

// ---- Line

Line::Line(QWidget *parent, const QString &name, QPoint fromTwips, QPoint toTwips,
           std::uint32_t lineColor, int width)
    : QWidget(parent), m_color(color(lineColor)), m_width(width)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QPoint a(px(fromTwips.x()), px(fromTwips.y())), b(px(toTwips.x()), px(toTwips.y()));
    const int pad = width;  // room for the pen on either side
    const QRect box = QRect(a, b).normalized().adjusted(-pad, -pad, pad, pad);
    setGeometry(box);
    m_from = a - box.topLeft();
    m_to = b - box.topLeft();
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(m_color, m_width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(m_from, m_to);
}

// ---- Shape

Shape::Shape(QWidget *parent, const QString &name, const TwipsRect &rect, std::uint32_t fill,
             std::uint32_t border)
    : QWidget(parent), m_fill(color(fill)), m_border(color(border))
{
    setControlName(this, name, name);
    place(this, rect);
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
    painter.setPen(m_border);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---- Buttons, check boxes, text boxes

CommandButton::CommandButton(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &rect)
    : QPushButton(caption, parent)
{
    setControlName(this, name, caption);
    place(this, rect);
    setAutoDefault(false);
}

namespace {
void followCaption(QAbstractButton *button, const QString &caption)
{
    QString readable = caption;
    readable.remove(QLatin1Char('&'));
    if (!readable.isEmpty())
        button->setAccessibleName(readable);
}
} // namespace

void CommandButton::setText(const QString &caption)
{
    QPushButton::setText(caption);
    followCaption(this, caption);
}

void CommandButton::setDescription(const QString &accessibleName) { setAccessibleName(accessibleName); }

CheckBox::CheckBox(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &rect)
    : QCheckBox(caption, parent)
{
    setControlName(this, name, caption);
    place(this, rect);
}

void CheckBox::setText(const QString &caption)
{
    QCheckBox::setText(caption);
    followCaption(this, caption);
}

TextBox::TextBox(QWidget *parent, const QString &name, const QString &accessibleName, const TwipsRect &rect)
    : QLineEdit(parent)
{
    setControlName(this, name, accessibleName);
    place(this, rect);
}

MultiLineTextBox::MultiLineTextBox(QWidget *parent, const QString &name, const QString &accessibleName,
                                   const TwipsRect &rect)
    : QPlainTextEdit(parent)
{
    setControlName(this, name, accessibleName);
    place(this, rect);
}

// ---- ProgressBar

ProgressBar::ProgressBar(QWidget *parent, const QString &name, const QString &accessibleName,
                         const TwipsRect &rect, int min, int max)
    : QProgressBar(parent)
{
    setControlName(this, name, accessibleName);
    place(this, rect);
    setRange(min, max);
    QProgressBar::setValue(min);
    setTextVisible(false);
}

void ProgressBar::setValue(float value)
{
    if (!std::isfinite(value) || value < float(minimum()) || value > float(maximum()))
        throw PropertyError("Invalid property value");
    QProgressBar::setValue(int(std::lround(value)));
}

} // namespace forms
