#include "launcher/form1.h"
#include "launcher/form2.h"
#include "launcher/form3.h"
#include "launcher/form6.h"
#include "launcher/form7.h"
#include "launcher/form9.h"
#include "about/frmabout.h"
#include "forms/msgbox.h"
#include "launcher/program.h"
#include "forms/colors.h"
#include "forms/pictures.h"
#include "settings/settings.h"

namespace launcher {

using forms::SystemColor::ButtonFace;

const Form1::Category Form1::Categories[4] = {
    {"Internet Programs", "1", "c:/Tavolin/Internet"},
    {"Office Programs", "2", "c:/Tavolin/Office"},
    {"Multimedia Programs", "3", "c:/Tavolin/Multimedia"},
    {"Gaming Programs", "4", "c:/Tavolin/Gaming"},
};

namespace {
const QString UiFont = QStringLiteral("Trebuchet MS");

QPixmap art(const char *name, const forms::ImageBox *box)
{
    return forms::picture(QStringLiteral(":/launcher/pictures/%1.svg").arg(QLatin1String(name)), box->size());
}

forms::Label *barLabel(QWidget *parent, const char *name, const char *caption, forms::TwipsRect rect)
{
    auto *label = new forms::Label(parent, QLatin1String(name), QString::fromUtf8(caption), rect);
    label->setTransparent(true);
    forms::setForeColor(label, ButtonFace);
    forms::setFont(label, UiFont, 8.25);
    return label;
}

forms::Label *panelLabel(QWidget *parent, const char *name, const char *caption, forms::TwipsRect rect,
                         bool bold, bool transparent)
{
    auto *label = new forms::Label(parent, QLatin1String(name), QLatin1String(caption), rect);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setTransparent(transparent);
    if (!transparent)
        forms::setBackColor(label, 0x00FFFFFF);
    forms::setForeColor(label, 0x00000000);
    forms::setFont(label, UiFont, 8.25, bold);
    return label;
}
} // namespace

Form1::Form1(QWidget *parent) : forms::Form(parent)
{
    createControls();
    connectEvents();
}

void Form1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Tavolin"));
    setBorderStyle(forms::BorderStyle::None);
    setShowInTaskbar(false);
    setClientSizeTwips(9000, 7770);
    setStartUpPosition(forms::StartUpPosition::CenterScreen);
    setWindowIcon(forms::icon(QStringLiteral(":/launcher/pictures/icon.svg")));
    setPicture(forms::picture(QStringLiteral(":/launcher/pictures/background.svg"), size()));

    // Created back to front: the panel picture before the category labels over it, the
    // bottom strip before its icons and labels.
    Image6 = new forms::ImageBox(this, QStringLiteral("Image6"), QStringLiteral("Category panel"),
                                 {1680, 1200, 5565, 5025});
    Image6->setPicture(art("panel", Image6));
    Image1 = new forms::ImageBox(this, QStringLiteral("Image1"), QStringLiteral("Bottom bar"),
                                 {0, 7200, 9000, 570});
    Image1->setPicture(art("bottombar", Image1));
    Image7 = new forms::ImageBox(this, QStringLiteral("Image7"), QStringLiteral("Tavolin logo"),
                                 {6960, 285, 1830, 390});
    Image7->setPicture(art("logo", Image7));

    forms::Label **categoryLabels[4] = {&Label8, &Label9, &Label10, &Label11};
    const char *categoryNames[4] = {"Label8", "Label9", "Label10", "Label11"};
    for (int i = 0; i < 4; ++i) {
        auto *label = new forms::Label(this, QLatin1String(categoryNames[i]),
                                       QLatin1String(Categories[i].caption),
                                       {1680, 1920 + 960 * i, 5535, 615});
        label->setAlignment(Qt::AlignCenter);
        label->setTransparent(true);
        forms::setForeColor(label, ButtonFace);
        forms::setFont(label, UiFont, 20.25, true);
        label->setCursor(Qt::PointingHandCursor);
        *categoryLabels[i] = label;
    }

    Label12 = barLabel(this, "Label12", "\u00A9 2005 Brambleton Software",
                       {6360, 6960, 2655, 255});
    Label12->setCursor(Qt::PointingHandCursor);

    Image2 = new forms::ImageBox(this, QStringLiteral("Image2"), QStringLiteral("Bullet"), {120, 7200, 510, 510});
    Image3 = new forms::ImageBox(this, QStringLiteral("Image3"), QStringLiteral("Bullet"), {2280, 7200, 510, 510});
    Image5 = new forms::ImageBox(this, QStringLiteral("Image5"), QStringLiteral("Bullet"), {6960, 7200, 510, 510});
    for (forms::ImageBox *bullet : {Image2, Image3, Image5})
        bullet->setPicture(art("bullet", bullet));
    Label2 = barLabel(this, "Label2", "System Control", {720, 7440, 1215, 255});
    Label3 = barLabel(this, "Label3", "Security Setup", {3000, 7440, 1215, 255});
    Label1 = barLabel(this, "Label1", "Exit Tavolin", {7680, 7440, 1215, 255});

    createPanel();

    Timer1 = new forms::Timer(this, 50000, false);
}

void Form1::createPanel()
{
    Frame1 = new forms::Frame(this, QStringLiteral("Frame1"), QString(), {6960, 720, 1860, 1695});
    Frame1->setAccessibleName(QStringLiteral("Advantage Center"));
    forms::setBackColor(Frame1, 0x00FFFFFF);
    Frame1->setBorderShown(false);
    Label6 = panelLabel(Frame1, "Label6", "Advantage Center", {0, 0, 1860, 255}, true, true);
    Line5 = new forms::Line(Frame1, QStringLiteral("Line5"), {0, 240}, {1920, 240});
    Label5 = panelLabel(Frame1, "Label5", "MarketPlace Center", {0, 360, 1860, 255}, false, false);
    Label15 = panelLabel(Frame1, "Label15", "Version Number", {0, 1080, 1935, 255}, false, false);
    Line2 = new forms::Line(Frame1, QStringLiteral("Line2"), {0, 1440}, {1920, 1440});
    Label7 = panelLabel(Frame1, "Label7", "Close", {0, 1440, 1860, 255}, false, false);
    Label5->setCursor(Qt::PointingHandCursor);
    Label7->setCursor(Qt::PointingHandCursor);
    Frame1->hide();
}

void Form1::connectEvents()
{
    forms::Label *categories[4] = {Label8, Label9, Label10, Label11};
    for (int i = 0; i < 4; ++i) {
        forms::Label *label = categories[i];
        connect(label, &forms::Label::clicked, this, [this, i] { openCategory(i); });
        connect(label, &forms::Label::mouseMoved, label, [label] { label->setBorder(true); });
    }
    const auto clearCategories = [this] {
        for (forms::Label *l : {Label8, Label9, Label10, Label11})
            l->setBorder(false);
    };
    connect(Image6, &forms::ImageBox::mouseMoved, this, clearCategories);
    connect(this, &forms::Form::mouseMoved, this, [this, clearCategories] {
        Image7->setBorder(false);
        clearCategories();
    });
    connect(Image7, &forms::ImageBox::mouseMoved, this, [this] { Image7->setBorder(true); });
    for (forms::Label *label : {Label1, Label2, Label3})
        connect(label, &forms::Label::mouseMoved, label, [label] { label->setBorder(true); });
    connect(Image1, &forms::ImageBox::mouseMoved, this, [this] {
        for (forms::Label *l : {Label1, Label2, Label3})
            l->setBorder(false);
    });
    connect(Label7, &forms::Label::mouseMoved, this, [this] { Label7->setBorder(true); });
    connect(Frame1, &forms::Frame::mouseMoved, this, [this] { Label7->setBorder(false); });

    connect(Image7, &forms::ImageBox::clicked, Frame1, &QWidget::show);
    connect(Label7, &forms::Label::clicked, Frame1, &QWidget::hide);
    connect(Label5, &forms::Label::clicked, this, &Form1::openMarketPlace);
    connect(Label2, &forms::Label::clicked, this, &Form1::openSystemControl);
    connect(Label3, &forms::Label::clicked, this, &Form1::openSecuritySetup);
    connect(Label1, &forms::Label::clicked, this, &Form1::exitTavolin);
    connect(Label12, &forms::Label::clicked, this, &Form1::showAbout);
    connect(Timer1, &forms::Timer::tick, this, qOverload<>(&QWidget::update));
}

void Form1::formLoad()
{
    Label15->setCaption(forms::versionText(forms::program()));
    Timer1->setEnabled(true);
}

void Form1::openCategory(int index)
{
    // The value is written first, so the view always loads with the value just chosen.
    settings::saveSetting(SettingsApplication, SettingsSection, SettingsKey,
                          QLatin1String(Categories[index].value));
    (new Form9(this))->showModal(this);
}

// The entries below open the windows of the launcher's other screens.
void Form1::openSystemControl()
{
    (new Form2(this))->showModal(this);
}

void Form1::openSecuritySetup()
{
    // The note always comes first, and the window only once it is dismissed.
    forms::msgBox(QLatin1String(Form3::NoteText));
    (new Form3(this))->showModal(this);
}

void Form1::exitTavolin()
{
    // The main window is gone before the closing screen shows; the screen belongs to no
    // window and ends the program itself. Nothing here touches this window afterwards.
    unload();
    (new Form7)->showModal();
}

void Form1::openMarketPlace()
{
    // The panel stays open behind the MarketPlace window and after it.
    (new Form6(this))->showModal(this);
}

void Form1::showAbout()
{
    (new about::frmAbout(about::Configuration::Launcher))->showModal();
}

} // namespace launcher
