#include "tic_tac_toe/form1.h"
#include "tic_tac_toe/program.h"
#include "forms/msgbox.h"
#include "forms/pictures.h"
#include "forms/program.h"
#include <QPointer>

namespace gridlark {

const int Form1::Lines[8][3] = {
    {1, 2, 3},   // left column
    {1, 4, 7},   // top row
    {1, 5, 9},   // diagonal from top left
    {2, 5, 8},   // middle row
    {3, 6, 9},   // bottom row
    {3, 5, 7},   // diagonal from bottom left
    {4, 5, 6},   // middle column
    {7, 8, 9},   // right column
};

namespace {
constexpr std::uint32_t White = 0x00FFFFFF;
constexpr int TickMs = 50;
constexpr qint16 HighestScore = 32767;

struct CellLayout {
    forms::TwipsRect cell, x, o;
};

const CellLayout Cells[9] = {
    {{480, 840, 1092, 1092}, {600, 960, 852, 852}, {600, 960, 840, 840}},
    {{480, 1920, 1092, 1212}, {600, 2040, 852, 972}, {600, 2040, 840, 960}},
    {{480, 3120, 1092, 1092}, {600, 3240, 852, 852}, {600, 3240, 840, 840}},
    {{1560, 840, 1212, 1092}, {1680, 960, 972, 852}, {1680, 960, 960, 840}},
    {{1560, 1920, 1212, 1212}, {1680, 2040, 972, 972}, {1680, 2040, 960, 960}},
    {{1560, 3120, 1212, 1092}, {1680, 3240, 972, 852}, {1680, 3240, 960, 840}},
    {{2760, 840, 1092, 1092}, {2880, 960, 852, 852}, {2880, 960, 840, 840}},
    {{2760, 1920, 1092, 1212}, {2880, 2040, 852, 972}, {2880, 2040, 840, 960}},
    {{2760, 3120, 1092, 1092}, {2880, 3240, 852, 852}, {2880, 3240, 840, 840}},
};

bool shown(const QWidget *mark) { return !mark->isHidden(); }

forms::Label *scoreLabel(forms::Frame *frame, const char *name)
{
    auto *label = new forms::Label(frame, QLatin1String(name), QStringLiteral("0"), {120, 240, 1452, 1212});
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    forms::setFont(label, QStringLiteral("Comic Sans MS"), 36, true);
    forms::setBackColor(label, White);
    return label;
}

forms::Frame *scoreFrame(QWidget *parent, const char *name, const char *caption, int top)
{
    auto *frame = new forms::Frame(parent, QLatin1String(name), QLatin1String(caption), {4080, top, 1692, 1572});
    forms::setBackColor(frame, White);
    return frame;
}
} // namespace

Form1::Form1(QWidget *parent) : forms::Form(parent)
{
    createControls();
}

void Form1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Tic Tac Toe"));
    setBorderStyle(forms::BorderStyle::FixedSingle);
    setMinButton(false);
    setMaxButton(false);
    setBackColor(White);
    setClientSizeTwips(5940, 4800);
    setStartUpPosition(forms::StartUpPosition::CenterScreen);
    setWindowIcon(forms::icon(QStringLiteral(":/appicon/appicon.svg")));

    Image10 = new forms::ImageBox(this, QStringLiteral("Image10"), QStringLiteral("Tic Tac Toe"),
                                  {480, 120, 3372, 612});
    Image10->setPicture(forms::picture(QStringLiteral(":/gridlark/pictures/banner.svg"), Image10->size()));

    // Back to front: the marks, then the grid lines, then the click cells over them all.
    forms::ImageBox **xs[9] = {&X1, &X2, &X3, &X4, &X5, &X6, &X7, &X8, &X9};
    forms::ImageBox **os[9] = {&O1, &O2, &O3, &O4, &O5, &O6, &O7, &O8, &O9};
    forms::ImageBox **cells[9] = {&Image1, &Image2, &Image3, &Image4, &Image5,
                                  &Image6, &Image7, &Image8, &Image9};
    for (int i = 0; i < 9; ++i) {
        const QString n = QString::number(i + 1);
        auto *x = new forms::ImageBox(this, QLatin1Char('X') + n, QStringLiteral("X in cell ") + n, Cells[i].x);
        x->setPicture(forms::picture(QStringLiteral(":/gridlark/pictures/x.svg"), x->size()));
        x->hide();
        auto *o = new forms::ImageBox(this, QLatin1Char('O') + n, QStringLiteral("O in cell ") + n, Cells[i].o);
        o->setPicture(forms::picture(QStringLiteral(":/gridlark/pictures/o.svg"), o->size()));
        o->hide();
        *xs[i] = m_x[i] = x;
        *os[i] = m_o[i] = o;
    }

    Line1 = new forms::Line(this, QStringLiteral("Line1"), {1560, 840}, {1560, 4200});
    Line2 = new forms::Line(this, QStringLiteral("Line2"), {2760, 840}, {2760, 4200});
    Line3 = new forms::Line(this, QStringLiteral("Line3"), {480, 1920}, {3840, 1920});
    Line4 = new forms::Line(this, QStringLiteral("Line4"), {480, 3120}, {3840, 3120});

    for (int i = 0; i < 9; ++i) {
        const int cell = i + 1;
        // Cells run down the columns: 1 to 3 on the left, 4 to 6 in the centre, 7 to 9 on the right.
        static const char *const rows[3] = {"top", "middle", "bottom"};
        static const char *const columns[3] = {"left", "centre", "right"};
        auto *c = new forms::ImageBox(this, QStringLiteral("Image%1").arg(cell),
                                      QStringLiteral("Cell %1, %2 %3").arg(cell).arg(QLatin1String(rows[i % 3]),
                                                                                    QLatin1String(columns[i / 3])),
                                      Cells[i].cell);
        *cells[i] = m_cells[i] = c;
        connect(c, &forms::ImageBox::clicked, this, [this, cell] { cellClick(cell); });
    }

    Frame1 = scoreFrame(this, "Frame1", "Player X", 840);
    Label3 = scoreLabel(Frame1, "Label3");
    Frame2 = scoreFrame(this, "Frame2", "Player O", 2640);
    Label4 = scoreLabel(Frame2, "Label4");

    Label1 = new forms::Label(this, QStringLiteral("Label1"), QStringLiteral("Game by"), {600, 4320, 1452, 252});
    Label1->setAlignment(Qt::AlignRight | Qt::AlignTop);
    forms::setFont(Label1, QStringLiteral("MS Sans Serif"), 8.25);
    forms::setBackColor(Label1, White);

    Label2 = new forms::Label(this, QStringLiteral("Label2"), QStringLiteral("Brambleton"), {2160, 4320, 1452, 252});
    forms::setFont(Label2, QStringLiteral("MS Sans Serif"), 8.25, false, true);
    forms::setForeColor(Label2, 0x00FF0000);
    forms::setBackColor(Label2, White);
    connect(Label2, &forms::Label::clicked, this, &Form1::creditClick);

    Timer1 = new forms::Timer(this, TickMs, true);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &forms::Timer::tick, this, &Form1::pointerTick);
    Timer2 = new forms::Timer(this, TickMs, true);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &forms::Timer::tick, this, &Form1::winCheckTick);
    Timer3 = new forms::Timer(this, TickMs, true);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    connect(Timer3, &forms::Timer::tick, this, &Form1::scoreTick);
}

void Form1::formLoad()
{
    XTurn = true;
    OTurn = false;
    for (forms::ImageBox *x : m_x)
        x->hide();
    for (forms::ImageBox *o : m_o)
        o->hide();
}

void Form1::cellClick(int cell)
{
    forms::ImageBox *x = xMark(cell), *o = oMark(cell);
    // Only the opponent's mark refuses a click: clicking one's own mark shows it again
    // and passes the turn.
    if (!shown(o) && XTurn) {
        x->show();
        OTurn = true;
        XTurn = false;
        return;
    }
    if (OTurn && !shown(x)) {
        o->show();
        XTurn = true;
        OTurn = false;
    }
}

void Form1::lösch()
{
    for (forms::ImageBox *o : m_o)
        o->hide();
    for (forms::ImageBox *x : m_x)
        x->hide();
}

void Form1::pointerTick()
{
    if (XTurn)
        forms::setMousePointer(this, 2);    // cross-hair
    if (OTurn)
        forms::setMousePointer(this, 12);   // no-drop
}

void Form1::winCheckTick()
{
    // Timer2 never ticks inside its own handler, so while an announcement is open no
    // further check runs: each completed line is announced and counted once.
    QPointer<Form1> self(this);
    for (int check = 0; check < 16; ++check) {
        const bool forX = check < 8;
        const std::array<forms::ImageBox *, 9> &marks = forX ? m_x : m_o;
        const int *line = Lines[check % 8];
        const bool a = shown(marks[line[0] - 1]);
        const bool b = shown(marks[line[1] - 1]);
        const bool c = shown(marks[line[2] - 1]);
        if (!(a && b && c))
            continue;
        forms::msgBox(forX ? QStringLiteral("Player X wins") : QStringLiteral("Player O wins"),
                      forms::MsgBoxStyle::OkOnly, QStringLiteral("The End"), QString(), 0, this);
        if (!self)
            return;   // the window went away while the box was open
        Timer2->setEnabled(false);
        lösch();
        qint16 &score = forX ? XScore : OScore;
        if (score < HighestScore)
            ++score;
        Timer2->setEnabled(true);
    }
}

void Form1::scoreTick()
{
    // Never negative: a count stops at its highest value, so plain digits suffice.
    Label3->setCaption(QString::number(XScore));
    Label4->setCaption(QString::number(OScore));
}

QString Form1::creditText() { return QStringLiteral("Email to ") + QLatin1String(ContactEmail); }

void Form1::creditClick()
{
    forms::msgBox(creditText(), forms::MsgBoxStyle::OkOnly, QStringLiteral("EMail"), QString(), 0, this);
}

} // namespace gridlark
