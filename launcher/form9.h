#pragma once
// The category view: a borderless black window whose web view shows the folder of the
// category that the main window stored.
#include "forms/controls.h"
#include "forms/form.h"
#include "webview/webbrowser.h"

namespace launcher {

class Form9 : public forms::Form {
    Q_OBJECT
public:
    explicit Form9(QWidget *parent = nullptr);

    webview::WebBrowser *WebBrowser1;
    forms::CommandButton *Command1;
    forms::TextBox *Text1;

    // The folder for a stored category value, or empty when the value names none.
    // The value is compared exactly: " 1" and "01" name no category.
    static QString folderFor(const QString &value);

protected:
    void formLoad() override;
};

} // namespace launcher
