#pragma once
// Simulates a full disk for the current process: no file may grow beyond
// `bytes` while the object lives (works for root too, unlike permissions).
#include <csignal>
#include <sys/resource.h>

class FullDisk {
public:
    explicit FullDisk(long bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_old;
        small.rlim_cur = rlim_t(bytes);
        m_ok = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    bool active() const { return m_ok; }

private:
    struct rlimit m_old {};
    void (*m_handler)(int) = nullptr;
    bool m_ok = false;
};
