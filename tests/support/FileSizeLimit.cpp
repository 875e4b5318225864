#include "FileSizeLimit.h"

#ifdef _WIN32

struct FileSizeLimit::Previous {};

bool FileSizeLimit::Available() {
    return false;
}

FileSizeLimit::FileSizeLimit(std::uint64_t) {}

#else

#include <signal.h>
#include <sys/resource.h>

struct FileSizeLimit::Previous {
    struct sigaction action {};
    rlimit limit{};
};

bool FileSizeLimit::Available() {
    return true;
}

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) : m_previous(std::make_unique<Previous>()) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &m_previous->action);
    ::getrlimit(RLIMIT_FSIZE, &m_previous->limit);
    rlimit limited = m_previous->limit;
    limited.rlim_cur = static_cast<rlim_t>(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limited);
}

#endif

FileSizeLimit::~FileSizeLimit() {
#ifndef _WIN32
    ::setrlimit(RLIMIT_FSIZE, &m_previous->limit);
    ::sigaction(SIGXFSZ, &m_previous->action, nullptr);
#endif
}
