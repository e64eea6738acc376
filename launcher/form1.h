#pragma once
// The launcher's home window: four program categories, the bottom bar, the logo with
// its "Advantage Center" panel and the copyright line.
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/timer.h"

namespace launcher {

class Form1 : public forms::Form {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    forms::ImageBox *Image7, *Image6, *Image1, *Image2, *Image3, *Image5;
    forms::Frame *Frame1;
    forms::Label *Label8, *Label9, *Label10, *Label11, *Label12;
    forms::Label *Label2, *Label3, *Label1;
    forms::Label *Label6, *Label5, *Label15, *Label7;
    forms::Line *Line5, *Line2;
    forms::Timer *Timer1;

    // The categories in the order of the labels: caption, value stored, folder shown.
    struct Category {
        const char *caption;
        const char *value;
        const char *folder;
    };
    static const Category Categories[4];

protected:
    void formLoad() override;

private:
    void createControls();
    void createPanel();
    void connectEvents();
    void openCategory(int index);
    void openSystemControl();
    void openSecuritySetup();
    void exitTavolin();
    void openMarketPlace();
    void showAbout();
};

} // namespace launcher
