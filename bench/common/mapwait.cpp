// Start-up of any program, seen from outside: starts it and prints the milliseconds until
// a top-level window whose title contains the given text is mapped on the X display, then
// ends the program. Works the same for our programs and for the Debian ones beside them.
//
//   bench_mapwait <title text> <timeout s> <program> [arguments...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {
double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

bool titleMatches(Display *dpy, Window w, const char *text)
{
    XTextProperty prop{};
    bool match = false;
    if (XGetWMName(dpy, w, &prop) && prop.value) {
        match = std::strstr(reinterpret_cast<const char *>(prop.value), text) != nullptr;
        XFree(prop.value);
    }
    return match;
}

bool isMapped(Display *dpy, Window w)
{
    XWindowAttributes attrs{};
    return XGetWindowAttributes(dpy, w, &attrs) && attrs.map_state == IsViewable;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <title text> <timeout s> <program> [args...]\n", argv[0]);
        return 2;
    }
    const char *text = argv[1];
    const double timeoutMs = std::atof(argv[2]) * 1000.0;
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    // Titles are often set after the window is mapped: watch name changes of new windows too.
    double found = -1;
    while (found < 0 && nowMs() - start < timeoutMs) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == CreateNotify) {
                XSelectInput(dpy, ev.xcreatewindow.window, PropertyChangeMask | StructureNotifyMask);
            } else if (ev.type == MapNotify || ev.type == PropertyNotify) {
                const Window w = ev.type == MapNotify ? ev.xmap.window : ev.xproperty.window;
                if (titleMatches(dpy, w, text) && isMapped(dpy, w)) {
                    found = nowMs() - start;
                    break;
                }
            }
        }
        int status = 0;
        if (found < 0 && waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "%s ended before showing its window\n", argv[3]);
            return 1;
        }
        if (found < 0)
            usleep(500);
    }
    kill(child, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200 && waitpid(child, &status, WNOHANG) == 0; ++i)
        usleep(10000);
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    if (found < 0) {
        std::fprintf(stderr, "no window titled \"%s\" within %.0f s\n", text, timeoutMs / 1000);
        return 1;
    }
    std::printf("%.1f\n", found);
    return 0;
}
