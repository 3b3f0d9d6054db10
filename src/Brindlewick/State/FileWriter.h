#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

// The program's small files (the settings, the state files, the autostart entry), written on one
// thread of their own so that no disk holds the main thread up. Writes run in the order asked; one
// asked for a file whose last write still waits takes that one's place, so the last value wins and an
// older one never lands after it.
class FileWriter {
public:
    // The program's one writer. It lives as long as the program: what still waits at the end is
    // `finish`'s to wait for.
    static FileWriter &shared();

    FileWriter(const FileWriter &) = delete;
    FileWriter &operator=(const FileWriter &) = delete;

    // Runs `write` on the writer's thread once the writes asked for before it have run.
    void write(const QString &file, std::function<void()> write);
    // Waits until every write asked for is done, or the deadline passes; true when all are done.
    bool finish(QDeadlineTimer deadline);

    // Runs on the writer's thread before each write: tests stand a slow disk in with it.
    std::function<void()> beforeWrite;

private:
    struct Job {
        QString file;
        std::function<void()> write;
        std::function<void()> beforeWrite;
    };

    FileWriter() = default;
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_queue;
    bool m_writing = false;
    // The thread starts with the first write.
    bool m_started = false;
};
