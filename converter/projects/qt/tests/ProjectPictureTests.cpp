#include <gtest/gtest.h>

#include <string>

#include "platform/Bmp.h"
#include "platform/qt/PictureFile.h"
#include "platform/testing/GifFixture.h"
#include "platform/testing/TempFolder.h"
#include "projects/qt/ProjectPicture.h"

namespace tess {
namespace {

TEST(ProjectPicture, TheLoadedFileIsStoredOnlyWhileItIsWhatIsShown) {
    testing::TempFolder folder("projpic");
    // Red, green / blue, white; index 3 transparent in the second file.
    const std::string gif = testing::gifFixture(2, 2, {0, 1, 2, 3});
    const std::string other = testing::gifFixture(2, 2, {3, 2, 1, 0});
    const std::string path = folder.write("cat.gif", gif);
    const std::string replaced = folder.write("replaced.gif", other);
    const std::string notPicture = folder.write("notes.gif", "not a picture");
    const std::string transparent =
        folder.write("transparent.gif", testing::gifFixture(2, 2, {0, 1, 2, 3}, 3));
    const Picture shown = *decodePicture(gif, 0xFFFFFF);
    const std::string bitmap = encodeBmp24(shown);

    struct Case {
        const char* name;
        bool imageChanged;
        std::string sourceLine;
        Colour back;
        const std::string& expected;
    };
    const Case cases[] = {
        {"unchanged since the load", false, path, 0xFFFFFF, gif},
        {"changed by an effect", true, path, 0xFFFFFF, bitmap},
        {"no file named", false, "Using Image From Tessaryn Project", 0xFFFFFF, bitmap},
        {"a file with another picture", false, replaced, 0xFFFFFF, bitmap},
        {"a file that is no picture", false, notPicture, 0xFFFFFF, bitmap},
        {"transparent pixels on the back colour", false, transparent, 0xFFFFFF,
         testing::readFileContents(transparent)},
        {"transparent pixels on another colour", false, transparent, 0x000000, bitmap},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(projectPictureFile(c.imageChanged, c.sourceLine, shown, c.back) == c.expected)
            << c.name;
}

}  // namespace
}  // namespace tess
