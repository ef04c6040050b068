#include "platform/single_instance.h"

#include "platform/settings_store.h"

#include <QCryptographicHash>
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
    // One running copy per settings folder: two profiles of one user (each
    // with its own configuration folder) run side by side, two copies on one
    // profile do not. The lock lives in the user's runtime folder, named
    // after the settings folder; without a runtime folder, in the settings
    // folder itself. (Without XDG_RUNTIME_DIR the runtime location is a
    // folder shared by every profile, so the name must tell them apart.)
    const QString impostazioni =
        QFileInfo(IniSettingsStore::defaultFilePath()).absoluteDir().absolutePath();
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        return impostazioni + QStringLiteral("/astrovela.lock");
    const QByteArray impronta =
        QCryptographicHash::hash(QDir::cleanPath(impostazioni).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return dir + QStringLiteral("/astrovela-") + QString::fromLatin1(impronta) + QStringLiteral(".lock");
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
