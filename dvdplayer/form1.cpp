#include "dvdplayer/form1.h"
#include "forms/pictures.h"

namespace dvdplayer {

Form1::Form1(QWidget *parent) : forms::Form(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Varrow's DVD Player"));
    setBorderStyle(forms::BorderStyle::FixedToolWindow);
    setShowInTaskbar(false);
    setMovable(false);
    setClientSizeTwips(9465, 6840);
    setStartUpPosition(forms::StartUpPosition::WindowsDefault);
    setWindowIcon(forms::icon(QStringLiteral(":/dvdplayer/pictures/dvd.svg")));
    setBackColor(0x00000000);

    DVD = new dvd::DvdControl(this, QStringLiteral("DVD"));
    DVD->setAccessibleName(QStringLiteral("DVD video"));
    DVD->setGeometry(forms::TwipsRect{0, 0, 735, 615}.toPixels());
}

void Form1::formLoad()
{
    // The control takes the window's outer size, so it reaches past the inner area at
    // the right and bottom edges.
    DVD->setHeightTwips(float(heightTwips()));
    DVD->setWidthTwips(float(widthTwips()));
}

} // namespace dvdplayer
