#pragma once
// The browser's one window: the address bar with Go, Back, Stop, Refresh and Forward,
// the web view, and the quick links below it. The window only hands the view addresses
// and commands; it never writes to the address box.
#include "forms/controls.h"
#include "forms/form.h"
#include "webview/webbrowser.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace browser {

class Form1 : public forms::Form {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    QMenuBar *menuBar;
    QMenu *mnuFile;
    QAction *mnuFileExit;
    // The client area below the menu bar; the controls are placed in it.
    QWidget *clientArea;

    forms::Frame *Frame2;
    forms::Label *Label1;
    forms::TextBox *Text1;
    forms::ImageBox *picGo;
    forms::ImageBox *picBack;
    forms::ImageBox *picStop;
    forms::ImageBox *picRefresh;
    forms::ImageBox *picForward;
    webview::WebBrowser *WebBrowser1;
    forms::Frame *Frame1;
    forms::CommandButton *btnYahoo;
    forms::CommandButton *btnGoogle;
    forms::CommandButton *btnZuzediroz;
    forms::CommandButton *btnHotmail;
    forms::CommandButton *btnTranslate;
    forms::CommandButton *btnMicrosoft;

protected:
    void formLoad() override;

private:
    forms::ImageBox *pictureButton(const QString &name, const QString &description, const QString &picture,
                                   const forms::TwipsRect &rect);
    forms::CommandButton *quickLink(const QString &name, const QString &caption, int left, const char *address);
};

} // namespace browser
