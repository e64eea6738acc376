#pragma once
// What the fuzz targets can ask of the stand-in device (fake_device.cpp).
#include <QByteArray>
#include <QList>
#include <QString>

namespace fakempv {
QList<QByteArray> liveDeviceNames();   // every device open now, by the name it was opened under
QString lastOpenedFile();              // absolute path given to the last successful open
void forgetLastOpened();

// A fresh scratch folder for one fuzzer process, in memory where the machine has
// /dev/shm (the file work then costs little), else in the temporary folder.
QString scratchFolder(const QString &name);
}
