#include "forms/program.h"
#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QWidget>

namespace forms {

namespace {
ProgramInfo g_program;
std::function<void()> g_endHandler;
int g_endCount = 0;
const char *const PointerProperty = "forms_mousePointer";

void installFontSubstitutes()
{
    // The windows name the fonts of the platform they were designed on. Debian ships
    // metric-compatible or look-alike families for each; fontconfig knows some of these
    // aliases already, Qt is told all of them so the choice is the same everywhere.
    QFont::insertSubstitutions(QStringLiteral("Trebuchet MS"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                               {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}
} // namespace

QString versionText(const ProgramInfo &info)
{
    return QStringLiteral("Version %1.%2.%3").arg(info.major).arg(info.minor).arg(info.revision);
}

void setProgram(const ProgramInfo &info)
{
    g_program = info;
    installFontSubstitutes();
}

const ProgramInfo &program() { return g_program; }

void endProgram()
{
    ++g_endCount;
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    if (g_endHandler)
        g_endHandler();
    else
        QCoreApplication::exit(0);  // leaves nested loops as well
}

void setEndProgramHandler(std::function<void()> handler) { g_endHandler = std::move(handler); }
int endProgramCount() { return g_endCount; }

void setMousePointer(QWidget *window, int code)
{
    if (!window)
        return;
    window->setProperty(PointerProperty, code);
    switch (code) {
    case 1: window->setCursor(Qt::ArrowCursor); break;
    case 2: window->setCursor(Qt::CrossCursor); break;
    case 3: window->setCursor(Qt::IBeamCursor); break;
    case 4: window->setCursor(Qt::SizeAllCursor); break;   // icon
    case 5: window->setCursor(Qt::SizeAllCursor); break;
    case 6: window->setCursor(Qt::SizeBDiagCursor); break;
    case 7: window->setCursor(Qt::SizeVerCursor); break;
    case 8: window->setCursor(Qt::SizeFDiagCursor); break;
    case 9: window->setCursor(Qt::SizeHorCursor); break;
    case 10: window->setCursor(Qt::UpArrowCursor); break;
    case 11: window->setCursor(Qt::WaitCursor); break;
    case 12: window->setCursor(Qt::ForbiddenCursor); break;
    case 13: window->setCursor(Qt::BusyCursor); break;
    case 14: window->setCursor(Qt::WhatsThisCursor); break;
    case 15: window->setCursor(Qt::SizeAllCursor); break;
    default: window->unsetCursor(); break;
    }
}

int mousePointer(const QWidget *window)
{
    return window ? window->property(PointerProperty).toInt() : 0;
}

} // namespace forms
