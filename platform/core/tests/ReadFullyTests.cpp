#include "platform/ReadFully.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

using testing::TempFolder;

// Two connected ends that keep message bounds, so each read brings one message at the most:
// a reader that takes one short read for the end of the data stops early.
struct Packets {
    int ends[2] = {-1, -1};
    Packets() { EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends), 0); }
    ~Packets() {
        closeWriter();
        ::close(ends[0]);
    }
    int reader() const { return ends[0]; }
    void send(const std::string& bytes) const {
        ASSERT_EQ(::write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void closeWriter() {
        if (ends[1] >= 0) {
            ::close(ends[1]);
            ends[1] = -1;
        }
    }
};

TEST(ReadFully, GathersShortReadsUntilFullOrTheEnd) {
    Packets packets;
    packets.send("ab");
    packets.send("c");
    packets.send("def");
    std::string into(3, '\0');
    std::size_t got = 0;
    EXPECT_EQ(readFully(packets.reader(), into.data(), into.size(), got), 0);
    EXPECT_EQ(got, 3U);
    EXPECT_EQ(into, "abc");

    // Going on from where it stopped, until the writer closes.
    into.resize(10);
    packets.closeWriter();
    EXPECT_EQ(readFully(packets.reader(), into.data(), into.size(), got), 0);
    EXPECT_EQ(got, 6U);
    EXPECT_EQ(into.substr(0, got), "abcdef");
}

TEST(ReadFully, GoesOnAfterASignalCutsAReadShort) {
    // No SA_RESTART: the blocked read returns EINTR once the handler has run.
    static std::atomic<int> handled{0};
    struct sigaction action {};
    action.sa_handler = [](int) { handled.fetch_add(1); };
    sigemptyset(&action.sa_mask);
    struct sigaction before {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &before), 0);
    handled = 0;

    Packets packets;
    std::atomic<pid_t> tid{0};
    std::atomic<bool> done{false};
    std::string into(3, '\0');
    std::size_t got = 0;
    int err = -1;
    std::thread reader([&] {
        tid = static_cast<pid_t>(::syscall(SYS_gettid));
        err = readFully(packets.reader(), into.data(), into.size(), got);
        done = true;
    });
    // The thread's system call, as the system tells it while the thread is blocked in one.
    const auto blockedInRead = [&] {
        std::ifstream file("/proc/self/task/" + std::to_string(tid.load()) + "/syscall");
        long number = -1;
        return file >> number && number == SYS_read;
    };
    while (tid == 0 || !blockedInRead()) {
        std::this_thread::yield();
    }
    ASSERT_EQ(::pthread_kill(reader.native_handle(), SIGUSR1), 0);
    // Back in a read after the signal, or given up on it.
    while (!done && (handled == 0 || !blockedInRead())) {
        std::this_thread::yield();
    }
    packets.send("xyz");
    reader.join();
    ::sigaction(SIGUSR1, &before, nullptr);

    EXPECT_EQ(handled, 1);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(got, 3U);
    EXPECT_EQ(into, "xyz");
}

TEST(ReadFully, TellsAFailedRead) {
    TempFolder folder("tess-read");
    const int fd = ::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    char into[4];
    std::size_t got = 0;
    EXPECT_EQ(readFully(fd, into, sizeof into, got), EISDIR);
    EXPECT_EQ(got, 0U);
    EXPECT_EQ(readFullyAt(fd, 0, into, sizeof into, got), EISDIR);
    ::close(fd);
}

TEST(ReadFullyAt, ReadsFromTheOffsetAndLeavesThePositionAlone) {
    TempFolder folder("tess-read");
    const int fd = ::open(folder.write("digits", "0123456789").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    std::string into(4, '\0');
    std::size_t got = 0;
    EXPECT_EQ(readFullyAt(fd, 3, into.data(), into.size(), got), 0);
    EXPECT_EQ(into, "3456");

    // Going on from `got` reads on from offset + got, up to the end of the file.
    into.resize(8);
    EXPECT_EQ(readFullyAt(fd, 3, into.data(), into.size(), got), 0);
    EXPECT_EQ(got, 7U);
    EXPECT_EQ(into.substr(0, got), "3456789");

    got = 0;
    EXPECT_EQ(readFully(fd, into.data(), 2, got), 0);
    EXPECT_EQ(into.substr(0, got), "01");
    ::close(fd);
}

}  // namespace
}  // namespace tess
