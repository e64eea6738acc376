#pragma once
// System Security: three security levels, each confirmed with "Settings Saved". No
// level is stored or applied.
#include "forms/controls.h"
#include "forms/form.h"

namespace launcher {

class Form3 : public forms::Form {
    Q_OBJECT
public:
    explicit Form3(QWidget *parent = nullptr);

    forms::Label *Label1, *Label2;
    forms::CommandButton *Command1, *Command2, *Command3;
    forms::Line *Line1;

    // Shown by the main window before it opens this window.
    static const char *const NoteText;
    static const char *const SavedText;

private:
    void chooseLevel();
};

} // namespace launcher
