#pragma once
// Keeps a second copy of the program from running at the same time.
#include <QString>
#include <memory>

class QLockFile;

namespace platform {

class SingleInstance {
public:
    // lockPath: the lock file; empty means the default one, which belongs
    // to the settings folder in use (see defaultLockPath).
    explicit SingleInstance(QString lockPath = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process now holds the lock (also when it already did);
    // false when another running copy holds it, or when the lock could not
    // be made at all (see heldElsewhere). A lock left by a copy that crashed
    // is taken over.
    bool tryAcquire();
    bool isHeld() const { return m_held; }
    // After a failed tryAcquire: whether another running copy holds the lock
    // (false: the lock file could not be made, a full or read-only folder,
    // and failure() says why).
    bool heldElsewhere() const { return m_elsewhere; }
    QString failure() const { return m_failure; }
    QString lockPath() const { return m_path; }

    // The lock of the settings folder in use: one running copy per settings
    // folder, so that profiles with their own configuration folders never
    // block each other.
    static QString defaultLockPath();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
    bool m_elsewhere = false;
    QString m_failure;
};

} // namespace platform
