#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "shell/InstanceLock.h"

namespace tess {
namespace {

// Sets or unsets USER for the scope, and gives the old value back.
class UserVariable {
  public:
    explicit UserVariable(const char* value) {
        if (const char* old = std::getenv("USER")) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv("USER", value, 1);
        } else {
            ::unsetenv("USER");
        }
    }
    ~UserVariable() {
        if (old_) {
            ::setenv("USER", old_->c_str(), 1);
        } else {
            ::unsetenv("USER");
        }
    }
    UserVariable(const UserVariable&) = delete;
    UserVariable& operator=(const UserVariable&) = delete;

  private:
    std::optional<std::string> old_;
};

TEST(InstanceLock, EachUserHasALockOfTheirOwnWhateverUserSays) {
    Folders installed;
    installed.program = "/usr/bin";
    installed.scratch = "/run/user/1001/Tessaryn";
    const Folders inPlace = Folders::inOne("/home/a/build");
    Folders withoutScratch = installed;
    withoutScratch.scratch.clear();
    struct Case {
        const char* what;
        const Folders& folders;
        uid_t user;
        const char* lock;
    };
    const Case cases[] = {
        {"installed", installed, 1001, "/run/user/1001/Tessaryn/Tessaryn-1001.lock"},
        {"run in place", inPlace, 1001, "/tmp/Tessaryn-1001.lock"},
        {"run in place, another user", inPlace, 1002, "/tmp/Tessaryn-1002.lock"},
        {"without a scratch folder", withoutScratch, 1001, "/tmp/Tessaryn-1001.lock"},
        {"without a scratch folder, root", withoutScratch, 0, "/tmp/Tessaryn-0.lock"},
    };
    for (const char* user : {static_cast<const char*>(nullptr), "", "alice"}) {
        const UserVariable set(user);
        for (const Case& c : cases) {
            EXPECT_EQ(instanceLockPath(c.folders, "/tmp", c.user), c.lock)
                << c.what << ", USER " << (user != nullptr ? user : "unset");
        }
    }
}

}  // namespace
}  // namespace tess
