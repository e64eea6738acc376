#pragma once
// Finding a program's windows the way a user sees them.
#include <QApplication>
#include <QWidget>

namespace tavtest {

// The shown top-level window of the given class, or null when none is shown.
template <class T> T *openWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<T *>(w); f && f->isVisible())
            return f;
    return nullptr;
}

} // namespace tavtest
