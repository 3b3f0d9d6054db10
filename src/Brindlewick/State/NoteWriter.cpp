#include "NoteWriter.h"

#include "MissingFile.h"
#include "NoteCoding.h"
#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <pthread.h>

namespace {

// Saving a file changes its folder too: one look after a burst of changes is enough.
constexpr int lookDelayMs = 200;

} // namespace

NoteWriter::NoteWriter(const NoteStore &store, QObject *parent)
    : QObject(parent), m_watched(store), m_store(store), m_thread([this] { run(); })
{
    m_lookSoon.setSingleShot(true);
    m_lookSoon.setInterval(lookDelayMs);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_lookSoon, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_lookSoon, qOverload<>(&QTimer::start));
    // A folder a disk was mounted over, or uncovered, is another folder: its watch must be set anew.
    connect(&m_mounts, &MountWatch::changed, this, [this] {
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        m_lookSoon.start();
    });
    connect(&m_lookSoon, &QTimer::timeout, this, [this] {
        watch();
        emit folderChanged();
    });
}

NoteWriter::~NoteWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void NoteWriter::setStore(const NoteStore &store)
{
    ++m_generation;
    m_watched = store;
    ask(UseStore{store});
}

void NoteWriter::adopt(std::optional<FileStamp> stamp, const QString &disk, bool keepCopy)
{
    ++m_generation;
    ask(Adopt{stamp, disk, keepCopy});
}

void NoteWriter::write(const NoteBook &book, Date now)
{
    ask(Write{book, now, beforeWrite});
}

void NoteWriter::check(Date now)
{
    ask(Check{now});
}

void NoteWriter::keep(const NoteBook &book, Date now)
{
    ask(Keep{book, now});
}

// A file replaced shows in its folder; one rewritten in place only in the file itself. A replacement
// may leave the file's watch on the old file, so it is set anew every time.
void NoteWriter::watch()
{
    const QFileInfo file(m_watched.url());
    const QFileInfo target(RegularFile::linkTarget(file.filePath()));
    QStringList folders{file.absolutePath(), target.absolutePath()};
    folders.removeDuplicates();
    folders.removeIf([](const QString &folder) { return !QFileInfo(folder).isDir(); });
    if (folders != m_watcher.directories()) {
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        if (!folders.isEmpty())
            m_watcher.addPaths(folders);
    }
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (target.isFile())
        m_watcher.addPath(target.absoluteFilePath());
}

// What the reports set off (a merge writes again) is waited for too.
bool NoteWriter::finish(QDeadlineTimer deadline)
{
    while (true) {
        {
            std::unique_lock lock(m_mutex);
            const bool done = m_idle.wait_until(lock, deadline.deadline<std::chrono::steady_clock>(),
                                                [this] { return m_queue.empty() && !m_working; });
            if (!done)
                return false;
            if (m_reports.empty())
                return true;
        }
        deliver();
    }
}

// A write asked for while another waits takes its place; a look is already part of any write.
void NoteWriter::ask(Command command)
{
    {
        const std::lock_guard lock(m_mutex);
        const bool waitingWrite = !m_queue.empty() && std::holds_alternative<Write>(m_queue.back());
        if (std::holds_alternative<Write>(command) && waitingWrite)
            m_queue.back() = std::move(command);
        else if (!std::holds_alternative<Check>(command) || !waitingWrite)
            m_queue.push_back(std::move(command));
    }
    m_wake.notify_one();
}

void NoteWriter::deliver()
{
    std::deque<Report> reports;
    {
        const std::lock_guard lock(m_mutex);
        reports.swap(m_reports);
    }
    for (const Report &report : reports) {
        if (onReport)
            onReport(report);
    }
}

void NoteWriter::run()
{
    // Named, so tools that list the program's threads tell it from the main one.
    ::pthread_setname_np(::pthread_self(), "NoteWriter");
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        const Command command = std::move(m_queue.front());
        m_queue.pop_front();
        m_working = true;
        lock.unlock();
        perform(command);
        lock.lock();
        m_working = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
}

void NoteWriter::perform(const Command &command)
{
    if (const auto *write = std::get_if<Write>(&command)) {
        writeOut(*write);
    } else if (const auto *check = std::get_if<Check>(&command)) {
        checkFile(check->now);
    } else if (const auto *keep = std::get_if<Keep>(&command)) {
        keepBook(*keep);
    } else if (const auto *adopt = std::get_if<Adopt>(&command)) {
        ++m_seenGeneration;
        m_known = adopt->stamp;
        m_disk = adopt->disk;
        m_copyBeforeReplacing = adopt->keepCopy;
    } else if (const auto *use = std::get_if<UseStore>(&command)) {
        ++m_seenGeneration;
        m_store = use->store;
        m_known = m_store.stamp();
        m_disk = m_store.disk();
        m_copyBeforeReplacing = false;
    }
}

// A disk taken away leaves its mount point bare: what is there now is not the notes file.
std::optional<QString> NoteWriter::diskGone() const
{
    if (m_disk.isEmpty())
        return std::nullopt;
    return MissingFile::diskGone(m_disk, RegularFile::linkTarget(m_store.url()));
}

void NoteWriter::writeOut(const Write &write)
{
    const std::optional<FileStamp> onDisk = m_store.stamp();
    if (onDisk != m_known || diskGone())
        return report(changed(onDisk, write.now));
    std::optional<QString> kept;
    if (m_copyBeforeReplacing && onDisk) {
        const QString copy = m_store.setAsideName(write.now, QStringLiteral("replaced"));
        if (const std::optional<QString> error = m_store.keepCopy(copy))
            return report(Failed{tr("another program changed the notes file, and it couldn’t be kept (%1)").arg(*error)});
        kept = copy;
        m_copyBeforeReplacing = false;
    }
    const std::variant<RegularFile::Exchanged, QString> swapped = m_store.swapIn(write.book, write.beforeWrite);
    if (const auto *error = std::get_if<QString>(&swapped))
        return report(Failed{*error});
    const RegularFile::Exchanged &done = std::get<RegularFile::Exchanged>(swapped);
    const std::optional<Displaced> displaced =
        done.replaced ? lookAtReplaced(*done.replaced, write.now) : std::nullopt;
    m_known = done.written;
    m_disk = m_store.disk();
    report(Saved{write.book, kept, displaced});
}

// The file a write took the place of: the one last known goes; one another program put there since is
// kept beside the notes file, its notes to be merged.
std::optional<NoteWriter::Displaced> NoteWriter::lookAtReplaced(const QString &replaced, Date now) const
{
    if (FileStamp::of(replaced) == m_known) {
        QFile::remove(replaced);
        return std::nullopt;
    }
    const QString copy = m_store.setAsideName(now, QStringLiteral("replaced"));
    // Where it cannot be named so, it is at least merged, and the banner says where it lies.
    const QString kept = RegularFile::moveTo(replaced, copy) ? replaced : copy;
    bool missing = false;
    const std::variant<QByteArray, QString> read = RegularFile::read(kept, missing);
    const auto *bytes = std::get_if<QByteArray>(&read);
    return Displaced{kept, bytes ? NoteCoding::decode(*bytes, now) : std::nullopt};
}

void NoteWriter::checkFile(Date now)
{
    const std::optional<FileStamp> onDisk = m_store.stamp();
    if (onDisk != m_known || diskGone())
        report(changed(onDisk, now));
}

void NoteWriter::keepBook(const Keep &keep)
{
    const QString copy = m_store.setAsideName(keep.now, QStringLiteral("replaced"));
    if (const std::optional<QString> error = m_store.keep(keep.book, copy))
        return report(Failed{tr("the notes a changed notes file replaced couldn’t be kept (%1)").arg(*error)});
    report(Kept{copy});
}

NoteWriter::Changed NoteWriter::changed(const std::optional<FileStamp> &stamp, Date now) const
{
    Changed change{m_seenGeneration, stamp, m_store.disk(), std::nullopt, std::nullopt, std::nullopt};
    if (const std::optional<QString> gone = diskGone()) {
        change.stamp.reset();
        change.awaited = gone;
        return change;
    }
    bool missing = !stamp;
    const std::variant<QByteArray, QString> read =
        missing ? std::variant<QByteArray, QString>() : RegularFile::read(m_store.url(), missing);
    if (missing) {
        change.stamp.reset();
        change.awaited = MissingFile::whyWait(m_store.url());
    } else if (const auto *error = std::get_if<QString>(&read)) {
        change.unreadable = *error;
    } else {
        change.book = NoteCoding::decode(std::get<QByteArray>(read), now);
    }
    return change;
}

void NoteWriter::report(Report report)
{
    {
        const std::lock_guard lock(m_mutex);
        m_reports.push_back(std::move(report));
    }
    QMetaObject::invokeMethod(this, &NoteWriter::deliver, Qt::QueuedConnection);
}
