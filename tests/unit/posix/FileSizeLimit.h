#pragma once

#include <csignal>
#include <sys/resource.h>

namespace portolan::testing {

// Lets a file grow to limit bytes at most while it lives, as a full disk would: a write beyond the limit
// fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit reduced = saved_;
        reduced.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &reduced);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

} // namespace portolan::testing
