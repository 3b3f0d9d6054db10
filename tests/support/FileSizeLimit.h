#pragma once

#include <csignal>
#include <sys/resource.h>

// While it lives, files this process writes cannot grow past `bytes`, so a write stops part-way
// (this works even for root). Writes past the limit fail instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_original);
        m_previousHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_original;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }

    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_original);
        ::signal(SIGXFSZ, m_previousHandler);
    }

    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_original{};
    sighandler_t m_previousHandler = SIG_DFL;
};
