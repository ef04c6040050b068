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
    // false when another running copy holds it. A lock left by a copy that
    // crashed is taken over.
    bool tryAcquire();
    bool isHeld() const { return m_held; }
    QString lockPath() const { return m_path; }

    // The lock of the settings folder in use: one running copy per settings
    // folder, so that profiles with their own configuration folders never
    // block each other.
    static QString defaultLockPath();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};

} // namespace platform
