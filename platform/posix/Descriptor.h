#pragma once
// A descriptor owned by its scope: closed when it goes away, with the thread's
// errno kept as it was, so a failure's reason survives the clean-up.

#include <cerrno>
#include <unistd.h>

namespace kel {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0) {
            const int error = errno;
            close(m_fd);
            errno = error;
        }
    }
    int Get() const { return m_fd; }
    // Hands the descriptor over; this object no longer closes it.
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

}  // namespace kel
