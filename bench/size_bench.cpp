// Starts the real binary on a private X server with a notebook that is huge in one way (one 10 MB
// note on the desktop, 2,000 notes on the desktop, 100,000 tucked notes) and prints, for each, the
// time to the first window, the longest stall of its event loop while it settles and is used (typing
// into the huge note, scrolling and searching the library), and the time SIGTERM takes, both early
// in the start and at the end.
//
//   size_bench [--seconds S] [--only huge-note|desktop|tucked] [--binary PATH]
//
// Stalls are measured from outside: the bench sends _NET_WM_PING to one of the program's windows
// every 10 ms, and the program's event loop answers each; a ping's round trip is how long the loop
// was away.
#include "LiveApp.h"

#include <QCoreApplication>

#include <xcb/xtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace {

struct Scenario {
    const char *name;
    std::function<NoteBook(Date)> book;
    // What a person does once the program settled: keys typed into the top window, after a click at
    // its centre, or after Ctrl+F where `search` says so.
    QString keys;
    bool search = false;
};

StickyNote plainNote(int index, Date now)
{
    StickyNote note(QUuid::createUuid(), QStringLiteral("Note %1\nsecond line").arg(index), NoteColors::allCases[index % 7],
                    now - index);
    if (index % 4 == 0)
        note.setDeadline(now + 3 * 3600 + index, now);
    return note;
}

NoteBook hugeNote(Date now)
{
    StickyNote note(QUuid::createUuid(), QString(), NoteColor::lemon, now);
    const QString line = QStringLiteral("A long line of a very long note that somebody pasted in by mistake, 0123456789. ");
    note.text.reserve(10 * 1024 * 1024 + line.size());
    while (note.text.size() < 10 * 1024 * 1024)
        note.text += line;
    note.frame = NoteFrame{400, 300, 320, 300};
    return NoteBook({note});
}

NoteBook desktopNotes(Date now)
{
    QList<StickyNote> notes;
    for (int i = 0; i < 2000; ++i) {
        StickyNote note = plainNote(i, now);
        note.frame = NoteFrame{10.0 + (i % 40) * 45, 60.0 + (i / 40) * 18, 200, 180};
        notes.append(note);
    }
    return NoteBook(notes);
}

NoteBook tuckedNotes(Date now)
{
    QList<StickyNote> notes;
    for (int i = 0; i < 100000; ++i) {
        StickyNote note = plainNote(i, now);
        note.tucked = true;
        notes.append(note);
    }
    return NoteBook(notes);
}

// Pings one window of the program and keeps the longest round trip.
class LoopWatch {
public:
    LoopWatch(const LiveApp::XWatch &x, xcb_window_t window) : m_x(x), m_window(window)
    {
        m_protocols = x.atom("WM_PROTOCOLS");
        m_ping = x.atom("_NET_WM_PING");
        // The answer goes to the root window, to clients that watch its structure.
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(x.connection(), x.root(), XCB_CW_EVENT_MASK, &mask);
        xcb_flush(x.connection());
    }

    // Pings every 10 ms for `ms`, reading answers as they come.
    void watch(double ms)
    {
        const auto start = LiveApp::Clock::now();
        while (LiveApp::millisecondsSince(start) < ms) {
            send();
            const auto next = LiveApp::Clock::now() + std::chrono::milliseconds(10);
            while (LiveApp::Clock::now() < next) {
                read();
                QThread::usleep(500);
            }
        }
        read();
    }

    // The longest round trip, counting pings still unanswered as lasting until now.
    double longestMs() const
    {
        double longest = m_longest;
        for (const auto &[serial, sent] : m_pending)
            longest = std::max(longest, std::chrono::duration<double, std::milli>(LiveApp::Clock::now() - sent).count());
        return longest;
    }

private:
    void send()
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = m_window;
        event.type = m_protocols;
        event.data.data32[0] = m_ping;
        event.data.data32[1] = ++m_serial;
        event.data.data32[2] = m_window;
        xcb_send_event(m_x.connection(), 0, m_window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
        xcb_flush(m_x.connection());
        m_pending[m_serial] = LiveApp::Clock::now();
    }

    void read()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_x.connection())) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto *answer = reinterpret_cast<xcb_client_message_event_t *>(event);
                const auto pending = m_pending.find(answer->data.data32[1]);
                if (answer->data.data32[0] == m_ping && pending != m_pending.end()) {
                    m_longest = std::max(m_longest, LiveApp::millisecondsSince(pending->second));
                    m_pending.erase(pending);
                }
            }
            free(event);
        }
    }

    const LiveApp::XWatch &m_x;
    xcb_window_t m_window;
    xcb_atom_t m_protocols = XCB_ATOM_NONE;
    xcb_atom_t m_ping = XCB_ATOM_NONE;
    uint32_t m_serial = 0;
    std::map<uint32_t, LiveApp::Clock::time_point> m_pending;
    double m_longest = 0;
};

// Clicks at the window's centre, gives it the keyboard, presses Ctrl+F when asked to `search` and
// types `keys` (lower-case letters and spaces).
void typeInto(const LiveApp::XWatch &x, xcb_window_t window, const QString &keys, bool search)
{
    xcb_connection_t *connection = x.connection();
    const QPoint centre = x.geometry(window).center();
    const auto fake = [&](uint8_t type, uint8_t detail) {
        xcb_test_fake_input(connection, type, detail, XCB_CURRENT_TIME, x.root(), int16_t(centre.x()),
                            int16_t(centre.y()), 0);
    };
    fake(XCB_MOTION_NOTIFY, 0);
    fake(XCB_BUTTON_PRESS, 1);
    fake(XCB_BUTTON_RELEASE, 1);
    xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    if (search) {
        const xcb_keycode_t control = LiveApp::keycodeOf(connection, 0xffe3);
        const xcb_keycode_t f = LiveApp::keycodeOf(connection, 'f');
        fake(XCB_KEY_PRESS, control);
        fake(XCB_KEY_PRESS, f);
        fake(XCB_KEY_RELEASE, f);
        fake(XCB_KEY_RELEASE, control);
    }
    for (const QChar key : keys) {
        const xcb_keycode_t code = LiveApp::keycodeOf(connection, key == u' ' ? 0x20 : key.unicode());
        fake(XCB_KEY_PRESS, code);
        fake(XCB_KEY_RELEASE, code);
    }
    xcb_flush(connection);
}

struct Launched {
    std::unique_ptr<QProcess> process;
    qint64 pid = 0;
    LiveApp::Clock::time_point start;
};

Launched launch(const QString &binary, const LiveApp::PrivateSession &session, const LiveApp::Home &home)
{
    Launched app{std::make_unique<QProcess>(), 0, LiveApp::Clock::now()};
    app.process->setProcessEnvironment(LiveApp::environment(session, home));
    app.process->setProcessChannelMode(QProcess::ForwardedChannels);
    app.start = LiveApp::Clock::now();
    app.process->start(binary, {});
    if (!app.process->waitForStarted(5000))
        LiveApp::PrivateSession::fail("the program did not start");
    app.pid = app.process->processId();
    return app;
}

QString seconds(std::optional<double> ms)
{
    return ms ? QStringLiteral("%1 s").arg(*ms / 1000, 0, 'f', 2) : QStringLiteral("not within the limit");
}

void run(const Scenario &scenario, const QString &binary, double settleSeconds)
{
    std::printf("%s\n", scenario.name);
    const NoteBook book = scenario.book(Date::current());

    {
        // SIGTERM while the program is still starting.
        LiveApp::PrivateSession session;
        const LiveApp::Home home(book);
        Launched app = launch(binary, session, home);
        QThread::msleep(300);
        std::printf("  SIGTERM 0.3 s after launch: answered in %s\n",
                    qPrintable(seconds(LiveApp::terminate(*app.process, 30000))));
    }

    LiveApp::PrivateSession session;
    const LiveApp::Home home(book);
    LiveApp::XWatch x(session.display());
    Launched app = launch(binary, session, home);
    const auto first = LiveApp::waitForWindows(x, app.pid, 1, app.start, 300000);
    std::printf("  start to first window: %s\n", qPrintable(seconds(first)));
    if (!first) {
        LiveApp::terminate(*app.process, 1000);
        return;
    }
    const xcb_window_t window = x.shownWindows(app.pid).back();
    LoopWatch loop(x, window);
    loop.watch(settleSeconds * 1000);
    std::printf("  longest stall while settling (%.0f s): %.2f s\n", settleSeconds, loop.longestMs() / 1000);
    if (!scenario.keys.isEmpty()) {
        LoopWatch typing(x, window);
        typeInto(x, window, scenario.keys, scenario.search);
        typing.watch(5000);
        std::printf("  longest stall while typing \"%s\": %.2f s\n", qPrintable(scenario.keys), typing.longestMs() / 1000);
    }
    std::printf("  windows shown: %zu, PSS %.0f MB\n", x.shownWindows(app.pid).size(), LiveApp::pssMegabytes(app.pid));
    std::printf("  SIGTERM at the end: answered in %s\n", qPrintable(seconds(LiveApp::terminate(*app.process, 30000))));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QString binary = LiveApp::builtBinary(argv[0]);
    QString only;
    double settle = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray name = argv[i];
        if (name == "--seconds")
            settle = QByteArray(argv[i + 1]).toDouble();
        else if (name == "--only")
            only = QString::fromLocal8Bit(argv[i + 1]);
        else if (name == "--binary")
            binary = QString::fromLocal8Bit(argv[i + 1]);
        else
            LiveApp::PrivateSession::fail("usage: size_bench [--seconds S] [--only huge-note|desktop|tucked] [--binary PATH]");
    }
    const QList<std::pair<QString, Scenario>> scenarios{
        {QStringLiteral("huge-note"), {"One 10 MB note on the desktop", hugeNote, QStringLiteral("typing here")}},
        {QStringLiteral("desktop"), {"2,000 notes on the desktop", desktopNotes, QStringLiteral("typing here")}},
        {QStringLiteral("tucked"), {"100,000 tucked notes, \"All Notes\" open", tuckedNotes, QStringLiteral("lemon tea"), true}},
    };
    for (const auto &[key, scenario] : scenarios) {
        if (only.isEmpty() || only == key)
            run(scenario, binary, settle);
    }
    return 0;
}
