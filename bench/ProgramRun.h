#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <type_traits>
#include <vector>

extern char** environ;

namespace tess::bench {

// The descriptor a program started by inNewProgram() writes its report to.
inline constexpr int kReportDescriptor = 3;

// Starts this benchmark program anew (exec, not a fork: the new process shares no memory with
// this one and builds all it needs itself, as a program that was just started does) with
// `arguments`, waits for its end and gives back the plain struct it wrote to kReportDescriptor:
// nothing where it could not be started or did not report.
template <class Report>
std::optional<Report> inNewProgram(const std::vector<std::string>& arguments) {
    static_assert(std::is_trivially_copyable_v<Report>);
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return std::nullopt;
    std::string program = "/proc/self/exe";
    std::vector<char*> argv{program.data()};
    std::vector<std::string> copies(arguments);
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    // dup2 onto another number clears close-on-exec for the copy only.
    ::posix_spawn_file_actions_adddup2(&actions, pipe[1], kReportDescriptor);
    pid_t child = -1;
    const bool started =
        ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    Report report{};
    const bool read = started && ::read(pipe[0], &report, sizeof report) == sizeof report;
    ::close(pipe[0]);
    if (started)
        ::waitpid(child, nullptr, 0);
    if (!read)
        return std::nullopt;
    return report;
}

// In the started program: hands `report` to the one that started it.
template <class Report>
void reportToStarter(const Report& report) {
    static_assert(std::is_trivially_copyable_v<Report>);
    (void)!::write(kReportDescriptor, &report, sizeof report);
}

}  // namespace tess::bench
