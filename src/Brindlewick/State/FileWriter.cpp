#include "FileWriter.h"

#include <algorithm>
#include <pthread.h>
#include <thread>
#include <utility>

FileWriter &FileWriter::shared()
{
    static FileWriter *const writer = new FileWriter;
    return *writer;
}

void FileWriter::write(const QString &file, std::function<void()> write)
{
    {
        const std::lock_guard lock(m_mutex);
        Job job{file, std::move(write), beforeWrite};
        const auto waiting = std::find_if(m_queue.begin(), m_queue.end(), [&](const Job &j) { return j.file == file; });
        if (waiting != m_queue.end())
            *waiting = std::move(job);
        else
            m_queue.push_back(std::move(job));
        if (!std::exchange(m_started, true))
            std::thread([this] { run(); }).detach();
    }
    m_wake.notify_one();
}

bool FileWriter::finish(QDeadlineTimer deadline)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_until(lock, deadline.deadline<std::chrono::steady_clock>(),
                             [this] { return m_queue.empty() && !m_writing; });
}

void FileWriter::run()
{
    // Named, so tools that list the program's threads tell it from the others.
    ::pthread_setname_np(::pthread_self(), "FileWriter");
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return !m_queue.empty(); });
        const Job job = std::move(m_queue.front());
        m_queue.pop_front();
        m_writing = true;
        lock.unlock();
        if (job.beforeWrite)
            job.beforeWrite();
        job.write();
        lock.lock();
        m_writing = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
}
