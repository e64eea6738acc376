#include "browser/form1.h"
#include "browser/program.h"
#include "forms/pictures.h"
#include "forms/program.h"

namespace browser {

namespace {
constexpr std::uint32_t White = 0x00FFFFFF;
constexpr int ClientWidth = 13065, ClientHeight = 10800;
} // namespace

Form1::Form1(QWidget *parent) : forms::Form(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Internet Browser"));
    setWindowIcon(forms::icon(QStringLiteral(":/appicon/appicon.svg")));
    setBorderStyle(forms::BorderStyle::FixedSingle);
    setMinButton(false);
    setMaxButton(false);
    setBackColor(White);
    setStartUpPosition(forms::StartUpPosition::WindowsDefault);

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileExit = mnuFile->addAction(QStringLiteral("&Exit"));
    mnuFileExit->setObjectName(QStringLiteral("mnuFileExit"));
    connect(mnuFileExit, &QAction::triggered, this, [] { forms::endProgram(); });

    // The menu bar sits above the client area, which keeps its full size below it.
    const int menuHeight = menuBar->sizeHint().height();
    setClientSizeTwips(ClientWidth, ClientHeight);
    const QSize client(forms::px(ClientWidth), forms::px(ClientHeight));
    setFixedSize(client.width(), client.height() + menuHeight);
    menuBar->setGeometry(0, 0, client.width(), menuHeight);
    clientArea = new QWidget(this);
    clientArea->setObjectName(QStringLiteral("clientArea"));
    clientArea->setGeometry(0, menuHeight, client.width(), client.height());

    Frame2 = new forms::Frame(clientArea, QStringLiteral("Frame2"), QString(), {240, 120, 12615, 855});
    Frame2->setAccessibleName(QStringLiteral("Address bar"));
    forms::setBackColor(Frame2, White);
    Label1 = new forms::Label(Frame2, QStringLiteral("Label1"), QStringLiteral("URL:"), {120, 240, 975, 375});
    Label1->setTransparent(true);
    forms::setFont(Label1, QStringLiteral("MS Sans Serif"), 13.5);
    Text1 = new forms::TextBox(Frame2, QStringLiteral("Text1"), QStringLiteral("Address"), {1200, 240, 6015, 375});
    Label1->setBuddy(Text1);

    picGo = pictureButton(QStringLiteral("picGo"), QStringLiteral("Go"), QStringLiteral("go"), {7320, 120, 735, 615});
    picBack = pictureButton(QStringLiteral("picBack"), QStringLiteral("Back"), QStringLiteral("back"),
                            {9120, 120, 735, 615});
    picStop = pictureButton(QStringLiteral("picStop"), QStringLiteral("Stop"), QStringLiteral("stop"),
                            {9840, 120, 735, 615});
    picRefresh = pictureButton(QStringLiteral("picRefresh"), QStringLiteral("Refresh"), QStringLiteral("refresh"),
                               {10560, 120, 615, 615});
    picForward = pictureButton(QStringLiteral("picForward"), QStringLiteral("Forward"), QStringLiteral("forward"),
                               {11280, 120, 735, 615});

    WebBrowser1 = new webview::WebBrowser(clientArea, QStringLiteral("WebBrowser1"), {240, 1080, 12615, 8775});

    Frame1 = new forms::Frame(clientArea, QStringLiteral("Frame1"), QString(), {240, 9960, 12615, 735});
    Frame1->setAccessibleName(QStringLiteral("Quick links"));
    forms::setBackColor(Frame1, White);
    btnYahoo = quickLink(QStringLiteral("btnYahoo"), QStringLiteral("Yahoo"), 240, YahooAddress);
    btnGoogle = quickLink(QStringLiteral("btnGoogle"), QStringLiteral("Google"), 2280, GoogleAddress);
    btnZuzediroz = quickLink(QStringLiteral("btnZuzediroz"), QStringLiteral("Brambleton"), 4320, MakerAddress);
    btnHotmail = quickLink(QStringLiteral("btnHotmail"), QStringLiteral("Hotmail"), 6480, HotmailAddress);
    btnTranslate = quickLink(QStringLiteral("btnTranslate"), QStringLiteral("Translation Engine"), 8520,
                             TranslateAddress);
    btnMicrosoft = quickLink(QStringLiteral("btnMicrosoft"), QStringLiteral("Microsoft"), 10560, MicrosoftAddress);

    // Go hands over the address box's text exactly as it stands, even when it is empty.
    // Enter in the box does nothing.
    connect(picGo, &forms::ImageBox::clicked, this, [this] { WebBrowser1->Navigate(Text1->text()); });
    connect(picBack, &forms::ImageBox::clicked, this, [this] { WebBrowser1->GoBack(); });
    connect(picForward, &forms::ImageBox::clicked, this, [this] { WebBrowser1->GoForward(); });
    connect(picRefresh, &forms::ImageBox::clicked, this, [this] { WebBrowser1->Refresh(); });
    connect(picStop, &forms::ImageBox::clicked, this, [this] { WebBrowser1->Stop(); });
}

forms::ImageBox *Form1::pictureButton(const QString &name, const QString &description, const QString &picture,
                                      const forms::TwipsRect &rect)
{
    auto *box = new forms::ImageBox(Frame2, name, description, rect);
    box->setBorder(false);
    forms::setBackColor(box, White);
    box->setStretch(false);   // the 40 x 40 picture at the box's top left, as drawn
    box->setPicture(forms::picture(QStringLiteral(":/browser/pictures/%1.svg").arg(picture), QSize(40, 40)));
    box->setToolTip(description);
    box->setCursor(Qt::PointingHandCursor);
    return box;
}

forms::CommandButton *Form1::quickLink(const QString &name, const QString &caption, int left, const char *address)
{
    auto *button = new forms::CommandButton(Frame1, name, caption, {left, 240, 1815, 375});
    const QString target = QString::fromLatin1(address);
    connect(button, &QPushButton::clicked, this, [this, target] { WebBrowser1->Navigate(target); });
    return button;
}

void Form1::formLoad()
{
    WebBrowser1->Navigate(QString::fromLatin1(StartAddress));
}

} // namespace browser
