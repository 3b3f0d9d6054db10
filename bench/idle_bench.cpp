// Starts the real binary on a private X server with generated notes, waits until every note window
// is shown, leaves it alone, and prints what an idle Brindlewick costs: the time to the last window,
// the CPU time and the wakeups (timeslices of all threads) over the idle spell, the PSS, the time
// from a typed key to the note window's next paint, and how long SIGTERM takes.
//
//   idle_bench [--notes N] [--desktop D] [--running R] [--seconds S] [--binary PATH]
//
// N notes (default 100), the first D of them on the desktop (default all, at most 100 placed on the
// screen), the first R of those with a running two-hour timer (default 0); of the rest every third
// has a stopped timer and every fourth a deadline hours ahead, on a whole minute as the deadline
// picker's times and presets set them (each deadline set at an odd second adds a wake a minute).
#include "LiveApp.h"

#include <QCoreApplication>
#include <QRectF>

#include <xcb/damage.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct Options {
    int notes = 100;
    int desktop = -1;
    int running = 0;
    double seconds = 60;
    QString binary;
};

Options parse(int argc, char **argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray name = argv[i];
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        if (name == "--notes")
            options.notes = value.toInt();
        else if (name == "--desktop")
            options.desktop = value.toInt();
        else if (name == "--running")
            options.running = value.toInt();
        else if (name == "--seconds")
            options.seconds = value.toDouble();
        else if (name == "--binary")
            options.binary = value;
        else
            LiveApp::PrivateSession::fail("usage: idle_bench [--notes N] [--desktop D] [--running R] "
                                          "[--seconds S] [--binary PATH]");
    }
    if (options.desktop < 0 || options.desktop > options.notes)
        options.desktop = options.notes;
    options.running = std::min(options.running, options.desktop);
    return options;
}

// Notes laid in a grid of 200 × 180 point windows over a 1920 × 1080 screen (y up), overlapping once
// the screen is full.
NoteFrame frameFor(int index)
{
    const int column = index % 9;
    const int row = (index / 9) % 5;
    return NoteFrame{10.0 + column * 210 + (index / 45) * 12, 1080.0 - 190 - row * 205, 200, 180};
}

NoteBook generatedBook(const Options &options, Date now)
{
    const Date onWholeMinute{std::floor(now.seconds / 60) * 60};
    NoteBook book;
    for (int i = 0; i < options.notes; ++i) {
        StickyNote note(QUuid::createUuid(), QStringLiteral("Note %1\nSomething to remember, line two").arg(i + 1),
                        NoteColors::allCases[i % 7], now - 3600 - i);
        note.tucked = i >= options.desktop;
        if (!note.tucked)
            note.frame = frameFor(i);
        if (i < options.running) {
            note.timer = NoteTimer(2 * 3600);
            note.timer->start(now);
        } else if (i % 3 == 0) {
            note.timer = NoteTimer(600 + 60 * (i % 50));
            if (i % 2 == 0)
                note.timer->pausedLeft = 300;
        }
        if (i % 4 == 0)
            note.setDeadline(onWholeMinute + 3 * 3600 + 60 * i, now);
        book.notes.append(note);
    }
    return book;
}

// Waits for a paint of the watched window wider than a caret; its time from `start`, or none.
std::optional<double> nextPaint(xcb_connection_t *connection, uint8_t damageEvent, LiveApp::Clock::time_point start,
                                double limitMs)
{
    while (LiveApp::millisecondsSince(start) < limitMs) {
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            QThread::usleep(200);
            continue;
        }
        const bool paint = (event->response_type & 0x7f) == damageEvent
                           && reinterpret_cast<xcb_damage_notify_event_t *>(event)->area.width > 4;
        free(event);
        if (paint)
            return LiveApp::millisecondsSince(start);
    }
    return std::nullopt;
}

// Clicks into the note's text, then types keys one at a time and times each to the window's next paint.
std::vector<double> typingDelays(const LiveApp::XWatch &x, xcb_window_t window, int keys)
{
    xcb_connection_t *connection = x.connection();
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present)
        return {};
    free(xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1), nullptr));
    const uint8_t damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;

    const QRect frame = x.geometry(window);
    const auto at = [&](uint8_t type, uint8_t detail) {
        xcb_test_fake_input(connection, type, detail, XCB_CURRENT_TIME, x.root(), int16_t(frame.center().x()),
                            int16_t(frame.center().y()), 0);
    };
    at(XCB_MOTION_NOTIFY, 0);
    at(XCB_BUTTON_PRESS, 1);
    at(XCB_BUTTON_RELEASE, 1);
    // Without a window manager nobody else gives the window the keyboard.
    xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_flush(connection);
    QThread::msleep(500);

    const xcb_damage_damage_t watch = xcb_generate_id(connection);
    xcb_damage_create(connection, watch, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    const xcb_keycode_t key = LiveApp::keycodeOf(connection, 'a');
    std::vector<double> delays;
    for (int i = 0; i < keys; ++i) {
        QThread::msleep(150);
        while (xcb_generic_event_t *stale = xcb_poll_for_event(connection))
            free(stale);
        const auto start = LiveApp::Clock::now();
        at(XCB_KEY_PRESS, key);
        at(XCB_KEY_RELEASE, key);
        xcb_flush(connection);
        if (const auto delay = nextPaint(connection, damageEvent, start, 5000))
            delays.push_back(*delay);
    }
    xcb_damage_destroy(connection, watch);
    xcb_flush(connection);
    return delays;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Options options = parse(argc, argv);
    const QString binary = options.binary.isEmpty() ? LiveApp::builtBinary(argv[0]) : options.binary;
    std::printf("%d notes, %d on the desktop, %d running timers; idle %.0f s\n", options.notes, options.desktop,
                options.running, options.seconds);

    LiveApp::PrivateSession session;
    const LiveApp::Home home(generatedBook(options, Date::current()));
    LiveApp::XWatch x(session.display());

    QProcess brindlewick;
    brindlewick.setProcessEnvironment(LiveApp::environment(session, home));
    brindlewick.setProcessChannelMode(QProcess::ForwardedChannels);
    const auto start = LiveApp::Clock::now();
    brindlewick.start(binary, {});
    if (!brindlewick.waitForStarted(5000))
        LiveApp::PrivateSession::fail("the program did not start");
    const qint64 pid = brindlewick.processId();

    const auto shown = LiveApp::waitForWindows(x, pid, size_t(options.desktop), start, 120000);
    if (!shown)
        LiveApp::PrivateSession::fail("not every window was shown within 120 s");
    std::printf("start to every window shown: %.0f ms\n", *shown);

    QThread::msleep(3000);
    const double settled = LiveApp::waitForPooledThreadsToEnd(pid, 45000);
    std::printf("the start's worker threads ended %.0f s after that\n", settled / 1000);
    const LiveApp::Usage before = LiveApp::usageOf(pid);
    const auto idleStart = LiveApp::Clock::now();
    QThread::msleep(static_cast<unsigned long>(options.seconds * 1000));
    const LiveApp::Usage after = LiveApp::usageOf(pid);
    const double seconds = LiveApp::millisecondsSince(idleStart) / 1000;
    const double ticksPerSecond = double(sysconf(_SC_CLK_TCK));
    const long long ticks = after.ticks - before.ticks;
    const std::map<QString, LiveApp::ThreadUse> byThread = LiveApp::useBetween(before, after);
    LiveApp::ThreadUse total;
    for (const auto &[name, use] : byThread) {
        total.wakeups += use.wakeups;
        total.runMilliseconds += use.runMilliseconds;
    }
    std::printf("idle %.0f s: %.1f ms run (%.3f %% of a core), %lld CPU ticks (%.2f %%), %lld wakeups (%.1f a "
                "second)\n",
                seconds, total.runMilliseconds, 100.0 * total.runMilliseconds / 1000 / seconds, ticks,
                100.0 * double(ticks) / ticksPerSecond / seconds, total.wakeups, double(total.wakeups) / seconds);
    std::printf("by thread (wakeups, ms run):");
    for (const auto &[name, use] : byThread)
        std::printf(" %s %lld %.1f;", qPrintable(name), use.wakeups, use.runMilliseconds);
    std::printf("\nPSS: %.1f MB\n", LiveApp::pssMegabytes(pid));

    if (options.desktop > 0) {
        // The top of the stack, which nothing covers.
        const std::vector<xcb_window_t> windows = x.shownWindows(pid);
        std::vector<double> delays = typingDelays(x, windows.back(), 9);
        std::sort(delays.begin(), delays.end());
        if (delays.empty())
            std::printf("typed key to paint: no paint seen\n");
        else
            std::printf("typed key to paint: median %.1f ms, slowest %.1f ms (%zu keys)\n", delays[delays.size() / 2],
                        delays.back(), delays.size());
    }

    if (const auto ended = LiveApp::terminate(brindlewick, 10000))
        std::printf("SIGTERM to exit: %.0f ms\n", *ended);
    else
        std::printf("SIGTERM to exit: not within 10 s\n");
    return 0;
}
