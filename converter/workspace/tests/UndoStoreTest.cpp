#include "workspace/UndoStore.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "TempFolder.h"
#include "platform/Bmp.h"
#include "platform/Text.h"
#include "platform/qt/PictureFile.h"
#include "platform/testing/ReadOnlyMount.h"

namespace tess {
namespace {

Picture pictureA() {
    Picture p(5, 3, 0x0000FF);
    p.setPixel(4, 2, 0x123456);
    return p;
}

Picture pictureB() {
    Picture p(2, 7, 0x00FF00);
    p.setPixel(0, 0, 0xABCDEF);
    return p;
}

Picture pictureOnDisk(const std::string& path) {
    Result<Picture> loaded = loadPictureFile(path, 0xFFFFFF);
    EXPECT_TRUE(loaded.ok()) << (loaded.ok() ? "" : loaded.error().reason);
    return loaded.ok() ? *loaded : Picture{};
}

TEST(UndoStoreTest, FilesLieInTheProgramFolder) {
    EXPECT_EQ(UndoStore("/opt/tessaryn").undoPath(), "/opt/tessaryn/~tesundo.dat");
    EXPECT_EQ(UndoStore("/opt/tessaryn").swapPath(), "/opt/tessaryn/~tesundo2.dat");
    EXPECT_EQ(UndoStore("/").undoPath(), "/~tesundo.dat");
}

TEST(UndoStoreTest, NothingToUndoAtFirst) {
    TempFolder folder;
    UndoStore store(folder.path());
    EXPECT_FALSE(store.hasUndo());
    const Result<Picture> swapped = store.swap(pictureA());
    ASSERT_FALSE(swapped.ok());
    EXPECT_EQ(swapped.error().code, errc::FileNotFound);
    EXPECT_FALSE(folder.has("~tesundo.dat"));
    EXPECT_FALSE(folder.has("~tesundo2.dat"));
}

TEST(UndoStoreTest, SaveKeepsOneLevelAsABitmap) {
    TempFolder folder;
    UndoStore store(folder.path());
    ASSERT_TRUE(store.save(pictureA()).ok());
    ASSERT_TRUE(store.save(pictureB()).ok());
    EXPECT_TRUE(store.hasUndo());
    EXPECT_EQ(pictureOnDisk(store.undoPath()), pictureB());
    EXPECT_EQ(readFileBytes(store.undoPath()).value(), encodeBmp24(pictureB()));
}

TEST(UndoStoreTest, LoadAThenBThenUndoTwiceRedoes) {
    TempFolder folder;
    UndoStore store(folder.path());
    const Picture sample(140, 92, 0x808080);
    // Loading A saves the sample, loading B saves A.
    ASSERT_TRUE(store.save(sample).ok());
    ASSERT_TRUE(store.save(pictureA()).ok());

    const Result<Picture> first = store.swap(pictureB());
    ASSERT_TRUE(first.ok()) << first.error().reason;
    EXPECT_EQ(*first, pictureA());
    EXPECT_TRUE(store.hasUndo());
    EXPECT_FALSE(folder.has("~tesundo2.dat"));

    const Result<Picture> second = store.swap(*first);
    ASSERT_TRUE(second.ok()) << second.error().reason;
    EXPECT_EQ(*second, pictureB());
    EXPECT_EQ(pictureOnDisk(store.undoPath()), pictureA());
}

TEST(UndoStoreTest, AChangeAfterAnUndoEndsTheRedo) {
    TempFolder folder;
    UndoStore store(folder.path());
    ASSERT_TRUE(store.save(pictureA()).ok());
    ASSERT_TRUE(store.swap(pictureB()).ok());
    const Picture effect(4, 4, 0x000000);
    ASSERT_TRUE(store.save(pictureA()).ok());  // an effect on A saves A first
    EXPECT_EQ(*store.swap(effect), pictureA());
    EXPECT_EQ(*store.swap(pictureA()), effect);
}

TEST(UndoStoreTest, StaleSwapFileIsReplaced) {
    TempFolder folder;
    UndoStore store(folder.path());
    ASSERT_TRUE(store.save(pictureA()).ok());
    folder.write("~tesundo2.dat", "left over by a run that ended half-way");

    const Result<Picture> swapped = store.swap(pictureB());
    ASSERT_TRUE(swapped.ok()) << swapped.error().reason;
    EXPECT_EQ(*swapped, pictureA());
    EXPECT_FALSE(folder.has("~tesundo2.dat"));
    EXPECT_EQ(pictureOnDisk(store.undoPath()), pictureB());
}

TEST(UndoStoreTest, UnreadableUndoFileChangesNothing) {
    TempFolder folder;
    UndoStore store(folder.path());
    folder.write("~tesundo.dat", "not a bitmap");
    const Result<Picture> swapped = store.swap(pictureB());
    ASSERT_FALSE(swapped.ok());
    EXPECT_EQ(swapped.error().code, errc::InvalidPicture);
    EXPECT_EQ(readFileBytes(store.undoPath()).value(), "not a bitmap");
    EXPECT_FALSE(folder.has("~tesundo2.dat"));
}

TEST(UndoStoreTest, SwapThatCannotWriteKeepsTheUndoFile) {
    TempFolder folder;
    UndoStore store(folder.path());
    ASSERT_TRUE(store.save(pictureA()).ok());
    // A folder in the swap file's place can be neither removed nor written over.
    std::filesystem::create_directories(folder.file("~tesundo2.dat") + "/inside");

    const Result<Picture> swapped = store.swap(pictureB());
    ASSERT_FALSE(swapped.ok());
    EXPECT_EQ(pictureOnDisk(store.undoPath()), pictureA());

    std::filesystem::remove_all(folder.file("~tesundo2.dat"));
    const Result<Picture> retried = store.swap(pictureB());
    ASSERT_TRUE(retried.ok()) << retried.error().reason;
    EXPECT_EQ(*retried, pictureA());
}

TEST(UndoStoreTest, SaveIntoAMissingFolderFailsWithoutUndo) {
    TempFolder folder;
    UndoStore store(folder.file("no such folder"));
    EXPECT_FALSE(store.save(pictureA()).ok());
    EXPECT_FALSE(store.hasUndo());
}

TEST(UndoStoreTest, EmptyPictureRoundTrips) {
    TempFolder folder;
    UndoStore store(folder.path());
    ASSERT_TRUE(store.save(Picture(0, 0)).ok());
    const Result<Picture> swapped = store.swap(pictureA());
    ASSERT_TRUE(swapped.ok()) << swapped.error().reason;
    EXPECT_TRUE(swapped->empty());
}

TEST(UndoStoreTest, ShutDownDeletesBothFiles) {
    TempFolder folder;
    UndoStore store(folder.path());
    ASSERT_TRUE(store.save(pictureA()).ok());
    folder.write("~tesundo2.dat", "stale");
    folder.write("other.dat", "kept");
    store.deleteFiles();
    EXPECT_FALSE(folder.has("~tesundo.dat"));
    EXPECT_FALSE(folder.has("~tesundo2.dat"));
    EXPECT_TRUE(folder.has("other.dat"));
    store.deleteFiles();  // nothing left: no error
    EXPECT_FALSE(store.hasUndo());
}

// Links put at the undo files' names in a shared folder: a save, a swap and the shut-down replace
// or remove the links themselves, never the files they point at, and a link is never undone into.
TEST(UndoStoreTest, LinksAtTheFileNamesAreNeverFollowed) {
    TempFolder folder;
    namespace fs = std::filesystem;
    const std::string victim = folder.write("victim.bmp", encodeBmp24(pictureB()));
    const std::string victim2 = folder.write("victim2.txt", "the victim's own bytes");
    UndoStore store(folder.path());
    fs::create_symlink(victim, store.undoPath());
    EXPECT_FALSE(store.hasUndo());
    EXPECT_FALSE(store.swap(pictureA()).ok());

    ASSERT_TRUE(store.save(pictureA()).ok());
    fs::create_symlink(victim2, store.swapPath());
    const Result<Picture> swapped = store.swap(pictureB());
    ASSERT_TRUE(swapped.ok()) << swapped.error().reason;
    EXPECT_EQ(*swapped, pictureA());
    EXPECT_EQ(pictureOnDisk(store.undoPath()), pictureB());
    for (const std::string& name : {store.undoPath(), store.swapPath()}) {
        fs::remove(name);
        fs::create_symlink(victim2, name);
    }
    store.deleteFiles();
    EXPECT_FALSE(folder.has("~tesundo.dat"));
    EXPECT_FALSE(folder.has("~tesundo2.dat"));
    EXPECT_EQ(testing::readFileContents(victim), encodeBmp24(pictureB()));
    EXPECT_EQ(testing::readFileContents(victim2), "the victim's own bytes");
}

TEST(UndoStoreTest, TheFilesAreTheOwnersAlone) {
    TempFolder folder;
    UndoStore store(folder.path());
    const mode_t old = ::umask(0);
    const bool saved = store.save(pictureA()).ok();
    const bool swapped = store.swap(pictureB()).ok();
    ::umask(old);
    ASSERT_TRUE(saved && swapped);
    struct stat st {};
    ASSERT_EQ(::lstat(store.undoPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// A save that fails must not leave an older copy to be undone into: not where the old file
// cannot be removed (a read-only folder), nor where a folder stands at the name.
TEST(UndoStoreTest, AFailedSaveLeavesNothingToUndo) {
    TempFolder folder;
    const std::string mounted = folder.file("mounted");
    ASSERT_TRUE(std::filesystem::create_directory(mounted));
    UndoStore readOnly(mounted);
    const std::string told = testing::onReadOnlyFileSystem(
        mounted, [&] { (void)readOnly.save(pictureA()); },
        [&] {
            std::string seen = readOnly.hasUndo() ? "undo|" : "none|";
            seen += readOnly.save(pictureB()).ok() ? "saved|" : "failed|";
            seen += readOnly.hasUndo() ? "undo|" : "none|";
            const Result<Picture> swapped = readOnly.swap(pictureB());
            seen += swapped.ok() ? "swapped" : std::to_string(swapped.error().code);
            return seen;
        });
    if (told != "skip") {
        EXPECT_EQ(told, "undo|failed|none|" + std::to_string(errc::FileNotFound));
    }

    UndoStore store(folder.path());
    ASSERT_TRUE(store.save(pictureA()).ok());
    std::filesystem::remove(store.undoPath());
    std::filesystem::create_directories(store.undoPath() + "/inside");
    EXPECT_FALSE(store.save(pictureB()).ok());
    EXPECT_FALSE(store.hasUndo());
    // The next save that works offers undo again.
    std::filesystem::remove_all(store.undoPath());
    ASSERT_TRUE(store.save(pictureB()).ok());
    EXPECT_TRUE(store.hasUndo());
    if (told == "skip") {
        GTEST_SKIP() << "no read-only file system can be made here";
    }
}

}  // namespace
}  // namespace tess
