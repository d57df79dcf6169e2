#include "updater/RunLock.h"

#include "common/NativeFileName.h"

#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velmora {

RunLock::RunLock(const QString& path)
    : m_handle(::open(NativeFileName::toBytes(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
}

RunLock::~RunLock() {
    if (m_handle >= 0)
        ::close(m_handle);
}

bool RunLock::waitShared() {
    int result = 0;
    do
        result = ::flock(m_handle, LOCK_SH);
    while (result != 0 && errno == EINTR);
    return m_handle >= 0 && result == 0;
}

bool RunLock::tryExclusive() {
    return m_handle >= 0 && ::flock(m_handle, LOCK_EX | LOCK_NB) == 0;
}

bool RunLock::waitExclusive(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!tryExclusive()) {
        if (m_handle < 0 || std::chrono::steady_clock::now() >= deadline)
            return false;
        QThread::msleep(50);
    }
    return true;
}

void RunLock::release() {
    if (m_handle >= 0)
        ::flock(m_handle, LOCK_UN);
}

} // namespace velmora
