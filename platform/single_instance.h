#pragma once
// Keeps a second copy of the program from running at the same time.
#include <QString>
#include <memory>

class QLockFile;

namespace platform {

class SingleInstance {
public:
    // lockPath: the lock file; empty means the default one in the user's
    // runtime folder (or the configuration folder when there is none).
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

    static QString defaultLockPath();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};

} // namespace platform
