#include "support/FileSizeLimit.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tav::test {

int runWithFileSizeLimit(qint64 bytes, const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(125);
        // Straight out: the parent's folders and files are not the child's to clean up.
        ::_exit(body() & 0x7f);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace tav::test
