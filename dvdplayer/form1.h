#pragma once
// The video window: nothing but the DVD playback control.
#include "dvd/dvdcontrol.h"
#include "forms/form.h"

namespace dvdplayer {

class Form1 : public forms::Form {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    dvd::DvdControl *DVD;

protected:
    void formLoad() override;
};

} // namespace dvdplayer
