// Measures the player window as the user drives it, on the real event loop:
//
//   mp3bench latency <file.mp3> [runs]   time from choosing a file in the open dialog
//                                        to the sound running, per run
//   mp3bench idle <file.mp3> [seconds]   CPU used while the file plays with Loop set
//   mp3bench floor - [seconds]           CPU of a bare window whose 1 ms timer does
//                                        nothing: what the event loop's wake-ups cost
//
// The dialog's answer is scripted (the file is "chosen" the moment the dialog is
// asked); everything after it is the program's own code.
#include "mp3player/form1.h"
#include "mp3player/program.h"
#include "forms/filedialog.h"
#include "forms/form.h"
#include "forms/timer.h"
#include "mci/mci.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for the given time; returns the seconds that passed.
double runFor(int ms)
{
    QElapsedTimer wall;
    wall.start();
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec();
    return double(wall.nsecsElapsed()) / 1e9;
}

int latency(const QString &file, int runs)
{
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        auto *form = new mp3player::Form1;
        form->showModeless();
        QElapsedTimer clock;
        forms::setFileDialogHandler([&](const forms::FileDialogRequest &) {
            clock.start();   // the user has just chosen the file
            return forms::FileDialogResult{true, file, 1};
        });
        QEventLoop wait;
        double ms = -1;
        mci::setEventObserver([&](const QByteArray &, mci::DeviceEvent event) {
            if (event == mci::DeviceEvent::AudioStarted && ms < 0) {
                ms = double(clock.nsecsElapsed()) / 1e6;
                wait.quit();
            }
        });
        QTimer::singleShot(0, form->Command1, &QAbstractButton::click);
        QTimer::singleShot(5000, &wait, &QEventLoop::quit);
        wait.exec();
        mci::setEventObserver({});
        forms::setFileDialogHandler(nullptr);
        form->unload();
        QCoreApplication::processEvents();
        if (ms < 0) {
            std::fprintf(stderr, "run %d: the sound did not start within 5 s\n", run + 1);
            return 1;
        }
        times << ms;
        std::printf("run %d: %.1f ms\n", run + 1, ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("choose-to-sound: median %.1f ms, min %.1f ms, max %.1f ms over %d runs\n",
                times.at(times.size() / 2), times.first(), times.last(), int(times.size()));
    return 0;
}

int idle(const QString &file, int seconds)
{
    auto *form = new mp3player::Form1;
    form->showModeless();
    forms::setFileDialogHandler([&](const forms::FileDialogRequest &) {
        return forms::FileDialogResult{true, file, 1};
    });
    form->Command1->click();
    forms::setFileDialogHandler(nullptr);
    form->Check1->click();   // Loop on: the 1 ms loop timer runs
    if (!form->IsPlaying()) {
        std::fprintf(stderr, "the file is not playing\n");
        return 1;
    }
    runFor(2000);   // settle
    const double process0 = cpuSeconds(RUSAGE_SELF), main0 = cpuSeconds(RUSAGE_THREAD);
    const double elapsed = runFor(seconds * 1000);
    const double process = (cpuSeconds(RUSAGE_SELF) - process0) / elapsed * 100;
    const double main = (cpuSeconds(RUSAGE_THREAD) - main0) / elapsed * 100;
    std::printf("idle with Loop set and a file playing: %.2f %% of a core (GUI thread %.2f %%, "
                "playback threads %.2f %%) over %.0f s\n",
                process, main, process - main, elapsed);
    form->unload();
    return 0;
}

int floor(int seconds)
{
    forms::Form window;
    window.setClientSizeTwips(4425, 1230);
    window.show();
    forms::Timer timer(&window, 1, true);
    QObject::connect(&timer, &forms::Timer::tick, [] {});
    runFor(2000);   // settle
    const double main0 = cpuSeconds(RUSAGE_THREAD);
    const double elapsed = runFor(seconds * 1000);
    std::printf("a bare window with a 1 ms timer: GUI thread %.2f %% of a core over %.0f s\n",
                (cpuSeconds(RUSAGE_THREAD) - main0) / elapsed * 100, elapsed);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    forms::setProgram(mp3player::programInfo());
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: mp3bench latency|idle|floor <file.mp3>|- [runs|seconds] [--ao <output>]\n");
        return 2;
    }
    const int ao = int(args.indexOf(QStringLiteral("--ao")));
    if (ao > 0 && ao + 1 < args.size())
        mci::setAudioOutput(args.at(ao + 1));
    const int count = args.size() > 3 && !args.at(3).startsWith(QLatin1String("--")) ? args.at(3).toInt() : 0;
    if (args.at(1) == QLatin1String("latency"))
        return latency(args.at(2), count > 0 ? count : 20);
    if (args.at(1) == QLatin1String("idle"))
        return idle(args.at(2), count > 0 ? count : 30);
    if (args.at(1) == QLatin1String("floor"))
        return floor(count > 0 ? count : 30);
    return 2;
}
