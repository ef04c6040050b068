#include "platform/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace platform {

SingleInstance::SingleInstance(QString lockPath)
    : m_path(lockPath.isEmpty() ? defaultLockPath() : std::move(lockPath))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
              QStringLiteral("/Astrovela");
    return dir + QStringLiteral("/astrovela.lock");
}

bool SingleInstance::tryAcquire()
{
    if (m_held)
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(m_path);
        // Never stale by age: a running copy may run for weeks. A lock whose
        // process is gone is still taken over (QLockFile checks the process).
        m_lock->setStaleLockTime(0);
    }
    m_held = m_lock->tryLock(0);
    return m_held;
}

} // namespace platform
