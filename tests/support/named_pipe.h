#pragma once
// A named pipe in place of a file, for the tests of readers that must refuse
// it at once. Opening a pipe to read waits for a writer: should a reader
// under test wait, a watchdog opens the pipe to write after a few seconds
// and closes it, so that the reader sees an empty file and the test fails
// on `waited()` instead of hanging.
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class NamedPipe {
public:
    explicit NamedPipe(const QString& path) : m_path(path)
    {
        QFile::remove(path);
        m_ok = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
        if (m_ok)
            m_watchdog = std::thread([this] { watch(); });
    }
    ~NamedPipe()
    {
        m_stop = true;
        if (m_watchdog.joinable())
            m_watchdog.join();
        QFile::remove(m_path);
    }
    NamedPipe(const NamedPipe&) = delete;
    NamedPipe& operator=(const NamedPipe&) = delete;

    bool made() const { return m_ok; }
    const QString& path() const { return m_path; }
    // Whether a reader had opened the pipe and waited for a writer.
    bool waited() const { return m_waited; }

private:
    void watch()
    {
        using namespace std::chrono;
        const auto limit = steady_clock::now() + seconds(3);
        while (!m_stop) {
            std::this_thread::sleep_for(milliseconds(20));
            if (steady_clock::now() < limit)
                continue;
            // Succeeds only while a reader has the pipe open.
            const int fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_waited = true;
                ::close(fd);
            }
        }
    }

    QString m_path;
    bool m_ok = false;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_waited{false};
    std::thread m_watchdog;
};
