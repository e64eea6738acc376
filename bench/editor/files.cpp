// Opens and saves one document in the editor window and prints the times, the longest
// the window went without handling events, and the cost of keystrokes in the loaded
// document; beside them the time to just read and write the same bytes.
//
//   bench_editor_files <document> <copy to write> [characters per step]
#include "editor/frmmain.h"
#include "editor/program.h"
#include "forms/filedialog.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

// Measures the longest gap between two turns of the event loop while `work` runs.
struct StallMeter {
    QTimer tick;
    QElapsedTimer since;
    qint64 longest = 0;
    StallMeter()
    {
        tick.setInterval(0);
        QObject::connect(&tick, &QTimer::timeout, &tick, [this] {
            const qint64 gap = since.restart();
            longest = std::max(longest, gap);
        });
    }
    void start() { longest = 0; since.start(); tick.start(); }
    void stop() { longest = std::max(longest, since.elapsed()); tick.stop(); }
};

double keystrokes(editor::frmMain &w, QTextCursor::MoveOperation where, double *worst)
{
    w.ctrlTextEdit->moveCursor(where);
    QVector<qint64> times;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer t;
        t.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QCoreApplication::sendEvent(w.ctrlTextEdit, &press);
        QCoreApplication::sendEvent(w.ctrlTextEdit, &release);
        w.ctrlTextEdit->viewport()->repaint();
        times << t.nsecsElapsed() / 1000;
    }
    std::sort(times.begin(), times.end());
    *worst = times.last() / 1000.0;
    return times.at(times.size() / 2) / 1000.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <document> <copy to write>\n", argv[0]);
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    forms::setProgram(editor::programInfo());
    if (argc > 3)
        editor::frmMain::setStepSize(QByteArray(argv[3]).toLongLong());
    forms::setFileDialogHandler([&](const forms::FileDialogRequest &r) {
        return forms::FileDialogResult{true, r.mode == forms::FileDialogRequest::Open ? input : output, 1};
    });

    // The physical limit: reading the bytes, and writing them to disk.
    QElapsedTimer t;
    t.start();
    QFile in(input);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    const double readMs = t.nsecsElapsed() / 1e6;
    t.restart();
    {
        QFile out(output);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(bytes);
        out.flush();
        ::fsync(out.handle());
    }
    const double writeMs = t.nsecsElapsed() / 1e6;
    QFile::remove(output);

    auto *w = new editor::frmMain;
    w->showModeless();
    QEventLoop settle;
    QTimer::singleShot(200, &settle, &QEventLoop::quit);
    settle.exec();

    StallMeter stall;
    QEventLoop loop;
    QObject::connect(w, &editor::frmMain::documentOpened, &loop, &QEventLoop::quit);
    QObject::connect(w, &editor::frmMain::documentWritten, &loop, &QEventLoop::quit);
    // Runs a file command to its end: its time in ms, and the longest stall in *longest.
    const auto timed = [&](void (editor::frmMain::*command)(), qint64 *longest) {
        t.restart();
        stall.start();
        (w->*command)();
        if (w->isBusy())
            loop.exec();
        stall.stop();
        *longest = stall.longest;
        return t.nsecsElapsed() / 1e6;
    };

    qint64 openStall = 0, saveStall = 0;
    const double openMs = timed(&editor::frmMain::Open, &openStall);

    double endWorst = 0, startWorst = 0;
    const double endMedian = keystrokes(*w, QTextCursor::End, &endWorst);
    const double startMedian = keystrokes(*w, QTextCursor::Start, &startWorst);

    w->DocumentPath.clear();
    const double saveMs = timed(&editor::frmMain::Save, &saveStall);

    std::printf("bytes %lld\nread_ms %.1f\nwrite_fsync_ms %.1f\nopen_ms %.1f\nopen_longest_stall_ms %lld\n"
                "save_ms %.1f\nsave_longest_stall_ms %lld\nkey_end_median_ms %.2f\nkey_end_worst_ms %.2f\n"
                "key_start_median_ms %.2f\nkey_start_worst_ms %.2f\nsaved_ok %d\n",
                qint64(bytes.size()), readMs, writeMs, openMs, openStall, saveMs, saveStall, endMedian, endWorst,
                startMedian, startWorst, int(w->Saved));
    w->Saved = true;
    w->unload();
    return 0;
}
