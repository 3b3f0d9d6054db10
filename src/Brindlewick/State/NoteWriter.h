#pragma once

#include "MountWatch.h"

#include "FileStamp.h"
#include "NoteBook.h"
#include "NoteStore.h"

#include <QDeadlineTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <variant>

// The notes file, written on a thread of its own so that no disk holds the program up. Writes run in
// the order asked; one asked for while another still waits takes its place. Before each write the
// writer looks whether another program changed the file since the model last saw it, and then writes
// nothing but reports the file as it is. A file another program puts there during the write itself is
// swapped out by it, kept and reported. Reports reach the main thread in order, through `onReport`.
class NoteWriter final : public QObject {
    Q_OBJECT

public:
    // The file a write took the place of was not the one the model last saw: another program put it
    // there meanwhile. It is kept as `copy`; `theirs` is what it holds, none when it holds no notebook.
    struct Displaced {
        QString copy;
        std::optional<NoteBook> theirs;
    };
    // A write reached the disk. `keptCopy`: where the file it replaced, another program's, was kept.
    struct Saved {
        NoteBook book;
        std::optional<QString> keptCopy;
        std::optional<Displaced> displaced;
    };
    struct Failed {
        QString error;
    };
    // Notes a merge dropped were written to `copy`, beside the notes file.
    struct Kept {
        QString copy;
    };
    // The file is not the one the model last saw. `stamp` none: it is gone, and `awaited` says why to
    // wait for it rather than write it anew (its disk went away, say). Else `book` is what it holds,
    // none when it holds no notebook, or `unreadable` says why it could not be read. `disk`: where the
    // disk it lives on is mounted. `generation`: the `adopt` it was compared against; an older one is
    // already out of date.
    struct Changed {
        int generation = 0;
        std::optional<FileStamp> stamp;
        QString disk;
        std::optional<NoteBook> book;
        std::optional<QString> unreadable;
        std::optional<QString> awaited;
    };
    using Report = std::variant<Saved, Failed, Changed, Kept>;

    explicit NoteWriter(const NoteStore &store, QObject *parent = nullptr);
    // Finishes every write asked for first.
    ~NoteWriter() override;

    // Points the writer at another store, whose file as it is now counts as seen.
    void setStore(const NoteStore &store);
    // The file as the model now knows it, on the disk mounted at `disk`. `keepCopy`: it is another
    // program's, to be kept as a copy before a write first replaces it.
    void adopt(std::optional<FileStamp> stamp, const QString &disk, bool keepCopy);
    // How many `adopt` and `setStore` calls were made: a `Changed` report of an earlier one is stale.
    int generation() const { return m_generation; }
    void write(const NoteBook &book, Date now);
    // Writes `book` beside the notes file, as "notes.replaced-<unix seconds>.json".
    void keep(const NoteBook &book, Date now);
    // Reports the file when it changed.
    void check(Date now);
    // Watches the file and its folders and says when they change, so the file can be checked: a file
    // replaced and one rewritten in place alike, and a disk mounted over its folder or taken away.
    void watch();
    // Waits until every write asked for is done, or the deadline passes, reporting each at once. True
    // when all are done.
    bool finish(QDeadlineTimer deadline);

    std::function<void(const Report &)> onReport;
    // Runs on the writer's thread in each write, once the new file is written and before it takes the
    // old one's place: tests stand a slow disk in with it, or another program that replaces the file.
    std::function<void()> beforeWrite;

signals:
    // Something changed in the notes file or a folder it lives in, or a disk came or went.
    void folderChanged();

private:
    struct Write {
        NoteBook book;
        Date now;
        std::function<void()> beforeWrite;
    };
    struct Check {
        Date now;
    };
    struct Keep {
        NoteBook book;
        Date now;
    };
    struct Adopt {
        std::optional<FileStamp> stamp;
        QString disk;
        bool keepCopy = false;
    };
    struct UseStore {
        NoteStore store;
    };
    using Command = std::variant<Write, Check, Keep, Adopt, UseStore>;

    void ask(Command command);
    void deliver();
    // The writer's thread.
    void run();
    void perform(const Command &command);
    void writeOut(const Write &write);
    void checkFile(Date now);
    void keepBook(const Keep &keep);
    std::optional<Displaced> lookAtReplaced(const QString &replaced, Date now) const;
    Changed changed(const std::optional<FileStamp> &stamp, Date now) const;
    void report(Report report);
    std::optional<QString> diskGone() const;

    QFileSystemWatcher m_watcher;
    MountWatch m_mounts;
    QTimer m_lookSoon;
    NoteStore m_watched;
    int m_generation = 0;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Command> m_queue;
    std::deque<Report> m_reports;
    bool m_working = false;
    bool m_stopping = false;

    // The writer's thread alone.
    NoteStore m_store;
    std::optional<FileStamp> m_known;
    // Where the disk the file was known on is mounted; empty before it is known.
    QString m_disk;
    bool m_copyBeforeReplacing = false;
    int m_seenGeneration = 0;

    std::thread m_thread;
};
