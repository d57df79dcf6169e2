#pragma once

#include <QString>

#include <chrono>

namespace velmora {

// A lock on a file (flock(2)) that the system releases when its holder ends in any way, also
// killed. Every running box holds it shared; the update program takes it exclusive, so that it
// switches the program files only once no box runs, and a box starting meanwhile waits.
class RunLock {
public:
    // Opens (and creates) the lock file; without it every lock fails.
    explicit RunLock(const QString& path);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Waits as long as an exclusive holder has it.
    bool waitShared();
    // Takes it exclusive when no one else holds it, without waiting. Changing a shared hold to
    // exclusive drops the shared hold first, also when it fails.
    bool tryExclusive();
    // Retries tryExclusive() until limit has passed.
    bool waitExclusive(std::chrono::milliseconds limit);
    void release();

private:
    int m_handle = -1;
};

} // namespace velmora
