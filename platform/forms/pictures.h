#pragma once
// Pictures drawn for this project (SVG or PNG in each program's resources).
#include <QPixmap>
#include <QIcon>
#include <QString>

namespace forms {

// Renders the picture at `size` logical pixels, sharp at the screen's pixel ratio.
QPixmap picture(const QString &path, const QSize &size);
// A window icon from one SVG, offered at 32 x 32 and 48 x 48 and larger.
QIcon icon(const QString &path);

} // namespace forms
