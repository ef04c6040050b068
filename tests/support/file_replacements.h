#pragma once
// Counts how many times a file is replaced while the object lives: each time
// a new copy is put in its place (a save through a temporary file renames it
// over the file, or links it in where there was none). Watches the file's
// folder with inotify; works for root too.
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

class SostituzioniFile {
public:
    explicit SostituzioniFile(const QString& path)
        : m_nome(QFile::encodeName(QFileInfo(path).fileName()))
    {
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd >= 0)
            m_ok = ::inotify_add_watch(m_fd, QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                                       IN_MOVED_TO | IN_CREATE)
                >= 0;
    }
    ~SostituzioniFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SostituzioniFile(const SostituzioniFile&) = delete;
    SostituzioniFile& operator=(const SostituzioniFile&) = delete;

    bool attivo() const { return m_ok; }

    // The replacements of the file seen so far.
    int conta()
    {
        alignas(inotify_event) char buf[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
        for (;;) {
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n <= 0)
                break;
            for (ssize_t i = 0; i < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buf + i);
                if (e->len > 0 && m_nome == e->name)
                    ++m_conta;
                i += ssize_t(sizeof(inotify_event) + e->len);
            }
        }
        return m_conta;
    }

private:
    QByteArray m_nome;
    int m_fd = -1;
    bool m_ok = false;
    int m_conta = 0;
};
