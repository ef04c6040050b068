#pragma once
// Files as an ordinary user sees them, also when the tests run as root
// (where permissions never bite): while the object lives, the calling
// thread reaches files as the user "nobody" (the file-system user and group
// of the thread; root's right to read and write anything goes with them and
// comes back after). Run by an ordinary user, the tests already are one:
// nothing changes then.
//
// What is to be denied is denied by its mode (chmod 000 a file, 0555 a
// folder); the folders above it must let others through (QTemporaryDir
// makes its folder for its owner alone: Passabile opens it).
#include <QFile>
#include <QString>

#include <functional>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class UtenteOrdinario {
public:
    UtenteOrdinario()
    {
        if (::geteuid() != 0)
            return;
        ::setfsgid(kNessuno);
        ::setfsuid(kNessuno);
        m_attivo = ::setfsuid(static_cast<uid_t>(-1)) == kNessuno;
    }
    ~UtenteOrdinario()
    {
        if (::geteuid() != 0)
            return;
        ::setfsuid(0);
        ::setfsgid(0);
    }
    UtenteOrdinario(const UtenteOrdinario&) = delete;
    UtenteOrdinario& operator=(const UtenteOrdinario&) = delete;

    // Whether permissions bite now (root became nobody, or was no root).
    bool attivo() const { return m_attivo || ::geteuid() != 0; }

    // Runs `prova` as the user "nobody" through and through (also for what
    // asks with the real user, as access() does): as root in a child
    // process that becomes nobody, whose answer comes back as its exit
    // status; as an ordinary user, here. `prova` touches no window.
    static bool Esegui(const std::function<bool()>& prova)
    {
        if (::geteuid() != 0)
            return prova();
        const pid_t figlio = ::fork();
        if (figlio == 0) {
            const bool ok = ::setgid(kNessuno) == 0 && ::setuid(kNessuno) == 0 && prova();
            ::_exit(ok ? 0 : 1);
        }
        int stato = 0;
        return figlio > 0 && ::waitpid(figlio, &stato, 0) == figlio && WIFEXITED(stato) && WEXITSTATUS(stato) == 0;
    }

    // Lets others into `folder` (read and pass through).
    static bool Passabile(const QString& folder)
    {
        return ::chmod(QFile::encodeName(folder).constData(), 0755) == 0;
    }

    // Makes `file` the ordinary user's own, as a file that user made: as
    // root, the user nobody's; run by an ordinary user, it is already.
    static bool Proprio(const QString& file)
    {
        return ::geteuid() != 0 || ::chown(QFile::encodeName(file).constData(), kNessuno, kNessuno) == 0;
    }

private:
    static constexpr uid_t kNessuno = 65534;
    bool m_attivo = false;
};
