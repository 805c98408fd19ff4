#include <QLabel>

#include "ShellFixture.h"

namespace tess {
namespace {

using ProjectWindowTest = ShellFixture;

TEST_F(ProjectWindowTest, TheProgressWindowIsOwnedByTheMainWindowAndLocksItByTheFlag) {
    auto w = openMain();
    state.ProgressLock = true;
    w->showProgress("Saving...", "a.tpw", "Compiling data...");
    frmSLProj& f = w->progressWindow().form();
    EXPECT_EQ(f.parentWidget(), w.get());
    EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(f.Label3->text(), "Compiling data...");
    w->progressWindow().unload();
    state.ProgressLock = false;
    EXPECT_TRUE(w->isEnabled());
}

}  // namespace
}  // namespace tess
