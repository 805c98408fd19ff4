#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <type_traits>

namespace tess::bench {

// Runs `work` once in a child process forked from this one, so it starts from this process's
// state and leaves nothing behind in it, and gives back what the child reported: a plain struct,
// or nothing where the child could not be made or did not report.
template <class Work>
auto inChildProcess(Work work) -> std::optional<decltype(work())> {
    using Report = decltype(work());
    static_assert(std::is_trivially_copyable_v<Report>);
    int pipe[2];
    if (::pipe(pipe) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        const Report report = work();
        (void)!::write(pipe[1], &report, sizeof report);
        ::_exit(0);
    }
    ::close(pipe[1]);
    Report report{};
    const bool read = child > 0 && ::read(pipe[0], &report, sizeof report) == sizeof report;
    ::close(pipe[0]);
    if (child > 0)
        ::waitpid(child, nullptr, 0);
    if (!read)
        return std::nullopt;
    return report;
}

}  // namespace tess::bench
