#include "platform/single_instance.h"

#include "platform/settings_store.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
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

namespace {

// Why no file can be made in the lock's folder, in the system's words ("No
// space left on device", "Permission denied", "No such file or directory"
// for a folder that could not be made): a file of its own is made there,
// written and removed.
QString motivoCartella(const QString& lockPath)
{
    const QString prova = lockPath + QStringLiteral(".prova-%1").arg(QCoreApplication::applicationPid());
    QString motivo;
    if (vb::writeFileWhole(prova, QByteArray::number(QCoreApplication::applicationPid()) + '\n', &motivo)) {
        QFile::remove(prova);
        motivo.clear();
    }
    return motivo;
}

} // namespace

bool SingleInstance::tryAcquire()
{
    if (m_held)
        return true;
    m_elsewhere = false;
    m_failure.clear();
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(m_path);
        // Never stale by age: a running copy may run for weeks. A lock whose
        // process is gone is still taken over (QLockFile checks the process).
        m_lock->setStaleLockTime(0);
    }
    m_held = m_lock->tryLock(0);
    if (m_held)
        return true;
    // Only a lock another copy holds means "running"; a lock file that could
    // not be made (a full or read-only folder) says nothing of other copies.
    m_elsewhere = m_lock->error() == QLockFile::LockFailedError;
    if (!m_elsewhere) {
        m_failure = motivoCartella(m_path);
        if (m_failure.isEmpty())
            m_failure = m_lock->error() == QLockFile::PermissionError ? QStringLiteral("Permission denied")
                                                                     : QStringLiteral("Unknown error");
    }
    return false;
}

} // namespace platform
