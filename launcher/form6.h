#pragma once
// The online MarketPlace: the maker's market page in a web view, with Refresh and Close.
#include "forms/controls.h"
#include "forms/form.h"
#include "webview/webbrowser.h"

namespace launcher {

class Form6 : public forms::Form {
    Q_OBJECT
public:
    explicit Form6(QWidget *parent = nullptr);

    webview::WebBrowser *WebBrowser1;
    forms::Label *Label1;
    forms::CommandButton *Command1, *Command2;

    static const char *const MarketAddress;

protected:
    void formLoad() override;
};

} // namespace launcher
