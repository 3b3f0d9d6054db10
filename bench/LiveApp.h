#pragma once

// The real binary on a private X server (no window manager) and a private D-Bus session bus, with
// its own home, data and settings folders, and what can be read of it from outside: its windows,
// its CPU time, the timeslices of all its threads and its memory.

#include "NoteBook.h"
#include "NoteStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <unistd.h>

namespace LiveApp {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Xvfb and a session bus in a fresh runtime folder, stopped when this goes.
class PrivateSession {
public:
    PrivateSession()
    {
        m_runtime.setAutoRemove(true);
        QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_xvfb.setProgram(QStringLiteral("Xvfb"));
        m_xvfb.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                             QStringLiteral("0"), QStringLiteral("1920x1080x24"), QStringLiteral("-nolisten"),
                             QStringLiteral("tcp")});
        m_xvfb.start();
        if (!m_xvfb.waitForReadyRead(10000))
            fail("Xvfb did not start");
        m_display = QStringLiteral(":") + QString::fromLatin1(m_xvfb.readLine().trimmed());

        m_bus.setProgram(QStringLiteral("dbus-daemon"));
        m_bus.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                            QStringLiteral("--print-address=1")});
        m_bus.start();
        if (!m_bus.waitForReadyRead(10000))
            fail("dbus-daemon did not start");
        m_busAddress = QString::fromLatin1(m_bus.readLine().trimmed());
    }

    ~PrivateSession()
    {
        for (QProcess *process : {&m_bus, &m_xvfb}) {
            process->terminate();
            process->waitForFinished(3000);
        }
    }

    const QString &display() const { return m_display; }
    const QString &busAddress() const { return m_busAddress; }
    QString runtimeFolder() const { return m_runtime.path(); }

    [[noreturn]] static void fail(const char *what)
    {
        std::fprintf(stderr, "%s\n", what);
        std::exit(2);
    }

private:
    QTemporaryDir m_runtime;
    QProcess m_xvfb;
    QProcess m_bus;
    QString m_display;
    QString m_busAddress;
};

// The program's own folders: a home with the notebook and settings that skip the welcome.
class Home {
public:
    explicit Home(const NoteBook &book)
    {
        QDir(m_home.path()).mkpath(QStringLiteral("data"));
        QDir(m_home.path()).mkpath(QStringLiteral("config/Brindlewick"));
        if (const auto error = NoteStore(dataFolder()).save(book))
            PrivateSession::fail("the notebook could not be written");
        QFile settings(m_home.filePath(QStringLiteral("config/Brindlewick/settings.json")));
        if (!settings.open(QIODevice::WriteOnly) || settings.write(R"({"welcomeDone": true})") < 0)
            PrivateSession::fail("the settings could not be written");
    }

    QString path() const { return m_home.path(); }
    QString dataFolder() const { return m_home.filePath(QStringLiteral("data")); }

private:
    QTemporaryDir m_home;
};

// The binary built next to the bench programs, `program` being the bench's own argv[0].
inline QString builtBinary(const char *program)
{
    return QFileInfo(QString::fromLocal8Bit(program)).dir().filePath(QStringLiteral("../src/Brindlewick/brindlewick"));
}

inline QProcessEnvironment environment(const PrivateSession &session, const Home &home)
{
    QProcessEnvironment env;
    for (const char *kept : {"PATH", "LANG", "LC_ALL", "TZ"}) {
        if (qEnvironmentVariableIsSet(kept))
            env.insert(QString::fromLatin1(kept), qEnvironmentVariable(kept));
    }
    env.insert(QStringLiteral("DISPLAY"), session.display());
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), session.busAddress());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), session.runtimeFolder());
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/share"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), home.path() + QStringLiteral("/state"));
    env.insert(QStringLiteral("BRINDLEWICK_DATA_DIR"), home.dataFolder());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

// CPU ticks of the process, and the run time and timeslices of each of its threads, as the kernel
// counts them. Ticks are sampled a hundred times a second; run times are exact.
struct Usage {
    struct Thread {
        QString name;
        long long runNanoseconds = 0;
        long long timeslices = 0;
    };
    long long ticks = 0;
    std::map<QString, Thread> threads;
};

inline Usage usageOf(qint64 pid)
{
    Usage usage;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        // Fields after the command's closing parenthesis; utime and stime are the 12th and 13th.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            usage.ticks = fields[11].toLongLong() + fields[12].toLongLong();
    }
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        QFile name(tasks.filePath(task + QStringLiteral("/comm")));
        if (schedstat.open(QIODevice::ReadOnly) && name.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> fields = schedstat.readAll().trimmed().split(' ');
            usage.threads[task] = {QString::fromLocal8Bit(name.readAll().trimmed()),
                                   fields.size() > 2 ? fields[0].toLongLong() : 0,
                                   fields.size() > 2 ? fields[2].toLongLong() : 0};
        }
    }
    return usage;
}

// Waits, up to `limitMs`, until the process has no pooled worker threads left: Qt paints the first
// frames on them and ends them after half a minute of rest, which is the start's work, not idling.
// Answers how long it waited.
inline double waitForPooledThreadsToEnd(qint64 pid, double limitMs)
{
    const auto start = Clock::now();
    const auto pooled = [pid] {
        for (const auto &[tid, thread] : usageOf(pid).threads) {
            if (thread.name.contains(QStringLiteral("pooled")))
                return true;
        }
        return false;
    };
    while (pooled() && millisecondsSince(start) < limitMs)
        QThread::msleep(250);
    return millisecondsSince(start);
}

// What each thread used between two readings, by thread name. A thread that ended in between takes
// its last wakeups and run time with it; one that started counts from its start.
struct ThreadUse {
    long long wakeups = 0;
    double runMilliseconds = 0;
};
inline std::map<QString, ThreadUse> useBetween(const Usage &before, const Usage &after)
{
    std::map<QString, ThreadUse> use;
    for (const auto &[tid, thread] : after.threads) {
        const auto earlier = before.threads.find(tid);
        const Usage::Thread start = earlier == before.threads.end() ? Usage::Thread{} : earlier->second;
        ThreadUse &named = use[thread.name];
        named.wakeups += thread.timeslices - start.timeslices;
        named.runMilliseconds += double(thread.runNanoseconds - start.runNanoseconds) / 1e6;
    }
    return use;
}

// Proportional set size in MB.
inline double pssMegabytes(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

// The key that types `keysym` on this server's keyboard; 0 when none does.
inline xcb_keycode_t keycodeOf(xcb_connection_t *connection, xcb_keysym_t keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto *mapping = xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, uint8_t(count)), nullptr);
    xcb_keycode_t found = 0;
    if (mapping) {
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(mapping);
        for (int i = 0; i < count * mapping->keysyms_per_keycode && !found; ++i) {
            if (syms[i] == keysym)
                found = xcb_keycode_t(setup->min_keycode + i / mapping->keysyms_per_keycode);
        }
    }
    free(mapping);
    return found;
}

// A client of the private X server that looks at the program's windows.
class XWatch {
public:
    explicit XWatch(const QString &display)
    {
        m_connection = xcb_connect(display.toLatin1().constData(), nullptr);
        if (xcb_connection_has_error(m_connection))
            PrivateSession::fail("cannot reach the private X server");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_pidAtom = atom("_NET_WM_PID");
    }
    ~XWatch() { xcb_disconnect(m_connection); }

    xcb_connection_t *connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

    xcb_atom_t atom(const char *name) const
    {
        auto *reply = xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name),
                                            nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return atom;
    }

    // Whether `window` carries the process id `pid`.
    bool belongsTo(xcb_window_t window, qint64 pid) const
    {
        auto *owner = xcb_get_property_reply(m_connection, pidOf(window), nullptr);
        const bool ours = carries(owner, pid);
        free(owner);
        return ours;
    }

    // Has the server tell this connection of top-level windows mapped and unmapped, or stops it.
    void followMaps(bool follow) const
    {
        const uint32_t mask = follow ? XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY : 0;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }

    // The mapped top-level windows of process `pid`.
    std::vector<xcb_window_t> shownWindows(qint64 pid) const
    {
        std::vector<xcb_window_t> shown;
        auto *tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
        if (!tree)
            return shown;
        const xcb_window_t *children = xcb_query_tree_children(tree);
        const int count = xcb_query_tree_children_length(tree);
        std::vector<xcb_get_window_attributes_cookie_t> attributes;
        std::vector<xcb_get_property_cookie_t> pids;
        for (int i = 0; i < count; ++i) {
            attributes.push_back(xcb_get_window_attributes(m_connection, children[i]));
            pids.push_back(pidOf(children[i]));
        }
        for (int i = 0; i < count; ++i) {
            auto *attribute = xcb_get_window_attributes_reply(m_connection, attributes[size_t(i)], nullptr);
            auto *owner = xcb_get_property_reply(m_connection, pids[size_t(i)], nullptr);
            const bool mapped = attribute && attribute->map_state == XCB_MAP_STATE_VIEWABLE;
            if (mapped && carries(owner, pid))
                shown.push_back(children[i]);
            free(attribute);
            free(owner);
        }
        free(tree);
        return shown;
    }

    QRect geometry(xcb_window_t window) const
    {
        auto *reply = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
        const QRect rect = reply ? QRect(reply->x, reply->y, reply->width, reply->height) : QRect();
        free(reply);
        return rect;
    }

private:
    xcb_get_property_cookie_t pidOf(xcb_window_t window) const
    {
        return xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1);
    }

    static bool carries(xcb_get_property_reply_t *owner, qint64 pid)
    {
        return owner && xcb_get_property_value_length(owner) == 4
               && *static_cast<uint32_t *>(xcb_get_property_value(owner)) == uint32_t(pid);
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
};

// Waits until the process shows `count` windows (at least one); the milliseconds from `start` to
// the last of them, or none when they did not all come within `limitMs`.
inline std::optional<double> waitForWindows(const XWatch &x, qint64 pid, size_t count, Clock::time_point start,
                                            double limitMs)
{
    // Listens for maps rather than asking for the whole window tree again and again: that would load
    // the very server the program is talking to.
    x.followMaps(true);
    const std::vector<xcb_window_t> already = x.shownWindows(pid);
    std::set<xcb_window_t> shown(already.begin(), already.end());
    std::optional<double> at;
    pollfd server{xcb_get_file_descriptor(x.connection()), POLLIN, 0};
    while (millisecondsSince(start) < limitMs) {
        if (shown.size() >= std::max<size_t>(1, count)) {
            at = millisecondsSince(start);
            break;
        }
        xcb_generic_event_t *event = xcb_poll_for_event(x.connection());
        if (!event) {
            poll(&server, 1, 5);
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY) {
            const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
            if (x.belongsTo(window, pid))
                shown.insert(window);
        } else if (type == XCB_UNMAP_NOTIFY) {
            shown.erase(reinterpret_cast<xcb_unmap_notify_event_t *>(event)->window);
        } else if (type == XCB_DESTROY_NOTIFY) {
            shown.erase(reinterpret_cast<xcb_destroy_notify_event_t *>(event)->window);
        }
        free(event);
    }
    x.followMaps(false);
    return at;
}

// Sends SIGTERM and waits for the process to end; the milliseconds it took, or none past `limitMs`.
inline std::optional<double> terminate(QProcess &app, double limitMs)
{
    const auto start = Clock::now();
    ::kill(pid_t(app.processId()), SIGTERM);
    if (!app.waitForFinished(int(limitMs))) {
        app.kill();
        app.waitForFinished(3000);
        return std::nullopt;
    }
    return millisecondsSince(start);
}

} // namespace LiveApp
