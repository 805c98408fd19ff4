#include <gtest/gtest.h>

#include "workspace/Loading.h"

namespace tess {
namespace {

TEST(OpenPictureRequestTest, FilterFlagsAndStartName) {
    const FileDialogRequest request = openPictureRequest("/pics/last one.gif");
    EXPECT_EQ(request.filter,
              "Images (*.bmp;*.gif;*.jpg;*.jpeg;*.dib;*.ico)|*.bmp;*.gif;*.jpg;*.jpeg;*.dib;*.ico");
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.flags, 137220);
    EXPECT_EQ(request.fileName, "/pics/last one.gif");
    EXPECT_EQ(openPictureRequest("").fileName, "");
}

TEST(DropTest, ExtensionsDecideWhatATargetTakes) {
    struct Case {
        const char* path;
        bool picture;
        bool text;
    };
    const Case cases[] = {
        {"/a/Photo.JPEG", true, false}, {"/a/b.bmp", true, false},  {"/a/B.GIF", true, false},
        {"/a/b.Jpg", true, false},      {"/a/b.dib", true, false},  {"/a/b.ico", true, false},
        {"/a/notes.doc", false, false}, {"/a/b.jpe", false, false}, {"/a/b.jpg.exe", false, false},
        {"/a/README.TXT", false, true}, {"/a/b.Rtf", false, true},  {"/a/notes.text", false, false},
        {"jpg", false, false},          {"/a/x.png", false, false}, {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hasPictureExtension(c.path), c.picture) << c.path;
        EXPECT_EQ(hasTextExtension(c.path), c.text) << c.path;
    }
}

TEST(DropTest, OnePictureOnAnImageTargetAsksFirst) {
    const DropRequest request = classifyDrop({"/home/u/Photo.JPEG"}, kImageTarget);
    EXPECT_EQ(request.kind, DropKind::Picture);
    EXPECT_EQ(request.path, "/home/u/Photo.JPEG");
    EXPECT_EQ(request.message,
              (Message{"Are you sure you want to load the image from\r\n\"/home/u/Photo.JPEG?\"",
                       36, "Load Image?"}));
}

TEST(DropTest, OneTextFileOnTheCustomTextAsksFirst) {
    const DropRequest request = classifyDrop({"/docs/README.TXT"}, kTextTarget);
    EXPECT_EQ(request.kind, DropKind::Text);
    EXPECT_EQ(request.path, "/docs/README.TXT");
    EXPECT_EQ(
        request.message,
        (Message{"Are you sure you want to load custom text data from\r\n\"/docs/README.TXT?\"", 36,
                 "Load Custom Text?"}));
}

TEST(DropTest, TwoFilesAreRefusedOnEveryTarget) {
    for (std::string_view target : {kImageTarget, kTextTarget, std::string_view("Other")}) {
        const DropRequest request = classifyDrop({"/a/one.bmp", "/a/two.bmp"}, target);
        EXPECT_EQ(request.kind, DropKind::TooManyFiles) << target;
        EXPECT_EQ(request.message,
                  (Message{"tessaryn q4 can only support dragging of 1 file, you have dragged 2 "
                           "files.",
                           48, "Cannot Load Files"}));
    }
}

TEST(DropTest, WrongTypeForTheTargetOrUnknownTargetIsIgnored) {
    struct Case {
        std::vector<std::string> files;
        std::string_view target;
    };
    const Case cases[] = {
        {{}, kImageTarget},
        {{"/a/notes.doc"}, kImageTarget},
        {{"/a/notes.txt"}, kImageTarget},  // Text1 is an image target
        {{"/a/photo.jpg"}, kTextTarget},
        {{"/a/photo.jpg"}, "image"},  // target words compare exactly
        {{"/a/notes.txt"}, "Other"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(classifyDrop(c.files, c.target), DropRequest{})
            << (c.files.empty() ? "" : c.files.front()) << " on " << c.target;
    }
}

}  // namespace
}  // namespace tess
