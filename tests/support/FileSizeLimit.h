#pragma once
// Makes every write that would grow a file past `bytes` fail, as a full disk
// does, for as long as it lives: a real write error from the kernel (EFBIG)
// through whatever code writes, without a disk to fill. SIGXFSZ is ignored
// meanwhile, so the write fails instead of ending the test.
#include <sys/resource.h>

#include <csignal>

namespace tarnik::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = SIG_DFL;
};

}  // namespace tarnik::test
