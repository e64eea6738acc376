#pragma once
// The controls the windows are built from, each the matching Qt widget so that
// accessibility tools see every caption and state. Every control is placed in twips,
// named by its control name (objectName) and given an accessible name.
//
// Like the toolkit the windows were designed for, a control that is under the mouse
// keeps the mouse move to itself: it never reaches the window behind it.
#include "forms/twips.h"
#include <QCheckBox>
#include <QMouseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <cstdint>
#include <stdexcept>

namespace forms {

// Common set-up: name, accessible name, geometry in twips, mouse tracking.
void place(QWidget *control, const TwipsRect &rect);
void setControlName(QWidget *control, const QString &name, const QString &accessibleName);
void setFont(QWidget *control, const QString &family, double points, bool bold = false,
             bool underline = false);
void setForeColor(QWidget *control, std::uint32_t color);
void setBackColor(QWidget *control, std::uint32_t color);   // opaque background

class Label : public QLabel {
    Q_OBJECT
public:
    Label(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &rect);
    // The caption is also the accessible name, so a screen reader reads what is shown.
    void setCaption(const QString &caption);
    void setText(const QString &caption) { setCaption(caption); }
    QString caption() const { return text(); }
    // A single-line border around the whole rectangle.
    void setBorder(bool on);
    bool hasBorder() const { return frameShape() != QFrame::NoFrame; }
    void setTransparent(bool on);   // paints no background of its own
signals:
    void clicked();
    void mouseMoved();
protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
private:
    bool m_pressed = false;
};

// An image box: shows a picture (stretched when asked), optionally with a border.
// Without a picture it is a transparent area that still takes clicks.
class ImageBox : public QLabel {
    Q_OBJECT
public:
    ImageBox(QWidget *parent, const QString &name, const QString &accessibleName, const TwipsRect &rect);
    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }
    void setStretch(bool on) { m_stretch = on; update(); }
    void setBorder(bool on);
    bool hasBorder() const { return frameShape() != QFrame::NoFrame; }
signals:
    void clicked();
    void mouseMoved();
protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
private:
    QPixmap m_picture;
    bool m_stretch = true;
    bool m_pressed = false;
};

// A frame: a group box with a caption, or a plain panel with neither caption nor border.
class Frame : public QGroupBox {
    Q_OBJECT
public:
    Frame(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &rect);
    void setBorderShown(bool on);
signals:
    void mouseMoved();
protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};

// A line from (x1, y1) to (x2, y2) in the parent's twips. It takes no mouse input.
class Line : public QWidget {
    Q_OBJECT
public:
    Line(QWidget *parent, const QString &name, QPoint fromTwips, QPoint toTwips,
         std::uint32_t color = 0x00000000, int width = 1);
protected:
    void paintEvent(QPaintEvent *event) override;
private:
    QPoint m_from, m_to;  // pixels, relative to this widget
    QColor m_color;
    int m_width;
};

// A filled rectangle.
class Shape : public QWidget {
    Q_OBJECT
public:
    Shape(QWidget *parent, const QString &name, const TwipsRect &rect, std::uint32_t fill,
          std::uint32_t border = 0x00000000);
protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override { event->accept(); }
private:
    QColor m_fill, m_border;
};

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &rect);
    // A caption that is not blank is also the accessible name, so that the name follows
    // two-state captions ("Pause"/"Play"); a blank caption keeps the description.
    void setText(const QString &caption);
    // An accessible name for a button without a caption.
    void setDescription(const QString &accessibleName);
};

class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    CheckBox(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &rect);
    void setText(const QString &caption);   // as for CommandButton
    int value() const { return isChecked() ? 1 : 0; }
    void setValue(int value) { setChecked(value != 0); }
};

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    TextBox(QWidget *parent, const QString &name, const QString &accessibleName, const TwipsRect &rect);
};

class MultiLineTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    MultiLineTextBox(QWidget *parent, const QString &name, const QString &accessibleName,
                     const TwipsRect &rect);
};

// Setting a value outside Min..Max is an error, as it is for the control the programs
// were written for; callers that must not stop on it catch PropertyError.
struct PropertyError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class ProgressBar : public QProgressBar {
    Q_OBJECT
public:
    ProgressBar(QWidget *parent, const QString &name, const QString &accessibleName,
                const TwipsRect &rect, int min = 0, int max = 100);
    float max() const { return float(maximum()); }
    float value() const { return float(QProgressBar::value()); }
    void setValue(float value);
};

} // namespace forms
