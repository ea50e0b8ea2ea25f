// Starts a program and times it to its first visible top-level window.
//
//   startup_probe [-k] [-s SETTLE_MS] [-t TIMEOUT_MS] TITLE PROGRAM [ARGS...]
//   startup_probe -g [-t TIMEOUT_MS] PROGRAM [ARGS...]
//
// Prints one line: "MAPPED_MS PAINTED_MS HWM_AT_MAP_KIB MAXRSS_KIB CPU_MS EXIT".
//   MAPPED_MS   exec to the MapNotify of a top-level window titled TITLE
//   PAINTED_MS  exec to the window's first paint being on the screen: the
//               program drew into it (DAMAGE) and then answered a _NET_WM_PING
//               (-1: not within the timeout)
//   HWM_AT_MAP  VmHWM of the process read at mapping
//   MAXRSS      the process's peak resident set over its life (wait4)
//   CPU_MS      its user + system CPU time over its life, less disturbed than
//               wall time by other load on the machine
//   EXIT        exit status after WM_DELETE_WINDOW, "term" after -k, or "killed"
// The program is closed SETTLE_MS after it was painted. With -k it is ended
// with SIGTERM as soon as it is painted instead: run under a profiler, which
// writes its counts when the program dies of a signal, what is counted ends
// at the painted window and leaves out the closing.
// With -g the program shows no window but grabs the pointer (a pick from the
// screen): MAPPED_MS and PAINTED_MS are both exec to the grab, HWM_AT_MAP is
// read then, and the program is ended with SIGTERM.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Windows may vanish between an event and our request about them.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

// Either title property may be the one asked for: Qt adds the application's
// display name to _NET_WM_NAME but leaves WM_NAME as the window title.
bool hasTitle(Display* d, Window w, const std::string& title)
{
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data && type == utf8)
        found = title == std::string_view(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    char* name = nullptr;
    if (!found && XFetchName(d, w, &name) && name)
        found = title == name;
    if (name)
        XFree(name);
    return found;
}

// The window's _NET_WM_PID, if it sets one.
std::optional<long> windowPid(Display* d, Window w)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<long> pid;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32 && count == 1)
        pid = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return pid;
}

long vmHwmKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

void sendProtocol(Display* d, Window w, const char* protocol)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, protocol, False));
    e.xclient.data.l[1] = CurrentTime;
    e.xclient.data.l[2] = static_cast<long>(w);
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
}

// Waits for the next X event up to the deadline; false on timeout.
bool nextEvent(Display* d, XEvent* e, Clock::time_point deadline)
{
    while (!XPending(d)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, static_cast<int>(std::min<long long>(left, 20)));
    }
    XNextEvent(d, e);
    return true;
}

bool childGone(pid_t pid)
{
    return waitpid(pid, nullptr, WNOHANG) == pid;
}

int usage()
{
    std::fprintf(stderr, "usage: startup_probe [-k] [-s SETTLE_MS] [-t TIMEOUT_MS] TITLE PROGRAM [ARGS...]\n"
                         "       startup_probe -g [-t TIMEOUT_MS] PROGRAM [ARGS...]\n");
    return 2;
}

// A grab that some other client activates is seen from outside as the pointer
// leaving the window it is in for the grab window, with mode NotifyGrab. So
// the pointer is put in a window of ours that only listens for that.
Window watchForGrab(Display* d, Window root, int x, int y)
{
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.event_mask = LeaveWindowMask;
    const Window w = XCreateWindow(d, root, x - 8, y - 8, 16, 16, 0, 0, InputOnly, CopyFromParent,
                                   CWOverrideRedirect | CWEventMask, &a);
    XMapWindow(d, w);
    XSync(d, False);
    XWarpPointer(d, None, w, 0, 0, 0, 0, 8, 8);
    XSync(d, False);
    return w;
}

} // namespace

int main(int argc, char** argv)
{
    int settleMs = 200, timeoutMs = 20000, opt = 0;
    bool terminate = false, grab = false;
    while ((opt = getopt(argc, argv, "+gks:t:")) != -1) {
        if (opt == 'g')
            grab = terminate = true;
        else if (opt == 'k')
            terminate = true;
        else if (opt == 's')
            settleMs = std::atoi(optarg);
        else if (opt == 't')
            timeoutMs = std::atoi(optarg);
        else
            return usage();
    }
    if (argc - optind < (grab ? 1 : 2))
        return usage();
    const std::string title = grab ? std::string() : argv[optind];
    char** command = argv + optind + (grab ? 0 : 1);

    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "startup_probe: cannot open display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(d);
    // Top-level maps (substructure); Qt sends its ping answers to the root
    // for structure-notify listeners.
    XSelectInput(d, root, SubstructureNotifyMask | StructureNotifyMask);
    const Atom wmProtocols = XInternAtom(d, "WM_PROTOCOLS", False);
    const Atom netPing = XInternAtom(d, "_NET_WM_PING", False);
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(d, &damageEvent, &damageError)) {
        std::fprintf(stderr, "startup_probe: the X server has no DAMAGE extension\n");
        return 1;
    }
    // The pointer in a corner, over neither program's window: no hover or
    // enter handling that one program would get and the other not.
    const int cornerX = DisplayWidth(d, DefaultScreen(d)) - 1, cornerY = DisplayHeight(d, DefaultScreen(d)) - 1;
    XWarpPointer(d, None, root, 0, 0, 0, 0, cornerX, cornerY);
    XSync(d, False);
    const Window grabWatch = grab ? watchForGrab(d, root, cornerX, cornerY) : None;

    const Clock::time_point t0 = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("startup_probe: fork");
        return 1;
    }
    if (pid == 0) {
        close(ConnectionNumber(d));
        execvp(command[0], command);
        std::perror("startup_probe: exec");
        _exit(127);
    }

    const Clock::time_point deadline = t0 + std::chrono::milliseconds(timeoutMs);
    Window window = None;
    double mappedMs = -1, paintedMs = -1;
    // Each new top-level window is watched for drawing from its creation, so
    // that a paint right after the map is not missed.
    std::map<Window, Damage> damages;
    long hwmAtMap = -1;
    XEvent e;
    while (window == None && mappedMs < 0) {
        if (!nextEvent(d, &e, std::min(deadline, Clock::now() + std::chrono::milliseconds(50)))) {
            if (childGone(pid)) {
                std::fprintf(stderr, "startup_probe: %s exited before %s\n", command[0],
                             grab ? "grabbing the pointer" : "showing its window");
                return 1;
            }
            if (Clock::now() > deadline) {
                if (grab)
                    std::fprintf(stderr, "startup_probe: no pointer grab within %d ms\n", timeoutMs);
                else
                    std::fprintf(stderr, "startup_probe: no window titled '%s' within %d ms\n", title.c_str(),
                                 timeoutMs);
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return 1;
            }
            continue;
        }
        // Without a window manager, the program's top-level windows are
        // the root's children; popups are override-redirect.
        if (grab) {
            if (e.type == LeaveNotify && e.xcrossing.window == grabWatch && e.xcrossing.mode == NotifyGrab) {
                mappedMs = paintedMs = msSince(t0);
                hwmAtMap = vmHwmKib(pid);
            }
            continue;
        }
        if (e.type == CreateNotify && e.xcreatewindow.parent == root && !e.xcreatewindow.override_redirect)
            damages.emplace(e.xcreatewindow.window, XDamageCreate(d, e.xcreatewindow.window, XDamageReportNonEmpty));
        if (e.type != MapNotify || e.xmap.event != root || e.xmap.override_redirect)
            continue;
        const double at = msSince(t0);
        if (!hasTitle(d, e.xmap.window, title))
            continue;
        if (const auto owner = windowPid(d, e.xmap.window); owner && *owner != pid)
            continue;
        window = e.xmap.window;
        mappedMs = at;
        hwmAtMap = vmHwmKib(pid);
    }

    // Painted: the window's first drawing, then the answer to a ping sent
    // after it, which the program gives only once it has finished that flush.
    // (A ping answered alone says nothing: it is answered while the program
    // reads the X events, before it paints the expose queued with them.)
    const Clock::time_point paintDeadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (window != None && !damages.count(window))
        damages[window] = XDamageCreate(d, window, XDamageReportNonEmpty);
    bool drawn = false;
    while (paintedMs < 0 && nextEvent(d, &e, paintDeadline)) {
        if (!drawn && e.type == damageEvent + XDamageNotify &&
            reinterpret_cast<XDamageNotifyEvent*>(&e)->drawable == window) {
            drawn = true;
            sendProtocol(d, window, "_NET_WM_PING");
        } else if (drawn && e.type == ClientMessage && e.xclient.message_type == wmProtocols &&
                   static_cast<Atom>(e.xclient.data.l[0]) == netPing &&
                   static_cast<Window>(e.xclient.data.l[2]) == window) {
            paintedMs = msSince(t0);
        }
    }
    for (const auto& [w, damage] : damages)
        XDamageDestroy(d, damage);

    if (terminate) {
        kill(pid, SIGTERM);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
        sendProtocol(d, window, "WM_DELETE_WINDOW");
    }

    int status = 0;
    rusage usage{};
    pid_t done = 0;
    // A profiler may take a while to write its counts.
    const int waitSteps = terminate ? std::max(timeoutMs / 10, 500) : 500;
    for (int i = 0; i < waitSteps && done == 0; ++i) {
        done = wait4(pid, &status, WNOHANG, &usage);
        if (done == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    bool killed = false;
    if (done == 0) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        killed = true;
    }
    XCloseDisplay(d);

    char exitText[16];
    if (terminate && !killed && WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM)
        std::snprintf(exitText, sizeof exitText, "term");
    else if (killed || !WIFEXITED(status))
        std::snprintf(exitText, sizeof exitText, "killed");
    else
        std::snprintf(exitText, sizeof exitText, "%d", WEXITSTATUS(status));
    const double cpuMs =
        (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    std::printf("%.2f %.2f %ld %ld %.1f %s\n", mappedMs, paintedMs, hwmAtMap, usage.ru_maxrss, cpuMs, exitText);
    return 0;
}
