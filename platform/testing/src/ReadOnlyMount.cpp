#include "platform/testing/ReadOnlyMount.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/testing/TempFolder.h"

namespace tess::testing {

std::string onReadOnlyFileSystem(const std::string& folder,
                                 const std::function<std::string()>& body) {
    return onReadOnlyFileSystem(folder, [] {}, body);
}

std::string onReadOnlyFileSystem(const std::string& folder, const std::function<void()>& prepare,
                                 const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "skip";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const auto say = [&](const std::string& text) {
            (void)!::write(channel[1], text.data(), text.size());
            ::_exit(0);
        };
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWNS) != 0) {
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
                say("skip");
            }
            writeFileContents("/proc/self/setgroups", "deny");
            writeFileContents("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
            writeFileContents("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        }
        // Private, so the mount stays inside this process's namespace.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("none", folder.c_str(), "tmpfs", 0, nullptr) != 0) {
            say("skip");
        }
        writeFileContents(folder + "/old.txt", "old");
        prepare();
        if (::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            say("skip");
        }
        say(body());
    }
    ::close(channel[1]);
    std::string out;
    char buffer[512];
    ssize_t n = 0;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return out;
}

}  // namespace tess::testing
