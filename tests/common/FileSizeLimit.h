#pragma once

#include <csignal>
#include <sys/resource.h>

// Makes every file write beyond `bytes` fail (EFBIG) while it lives, as a full
// disk would; works for root too, unlike read-only permissions.
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FPrevious);
        FPreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = FPrevious;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FPrevious);
        std::signal(SIGXFSZ, FPreviousHandler);
    }
    TFileSizeLimit(const TFileSizeLimit &) = delete;
    TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;

private:
    rlimit FPrevious{};
    void (*FPreviousHandler)(int) = nullptr;
};
