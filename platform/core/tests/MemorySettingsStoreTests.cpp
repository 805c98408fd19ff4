#include <gtest/gtest.h>

#include "platform/testing/MemorySettingsStore.h"

namespace tess::testing {
namespace {

TEST(MemorySettingsStore, StoresStringsPerApplicationSectionAndKey) {
    MemorySettingsStore store;
    EXPECT_EQ(store.get("Tessaryn32", "Settings", "Mode", "3"), "3");
    store.save("Tessaryn32", "Settings", "Mode", " 5");
    store.save("Tessaryn32\\TGLBuilder", "Info", "AppPath", "/opt/builder/");
    EXPECT_EQ(store.get("Tessaryn32", "Settings", "Mode", "3"), " 5");
    EXPECT_EQ(store.get("Tessaryn32\\TGLBuilder", "Info", "AppPath"), "/opt/builder/");
    EXPECT_EQ(store.get("Tessaryn32\\Explorer", "Settings", "Mode", "d"), "d");
    EXPECT_EQ(store.writeCount(), 2);
}

TEST(MemorySettingsStore, SectionsAndKeysIgnoreCaseApplicationsDoNot) {
    MemorySettingsStore store;
    store.save("Tessaryn32", "Settings", "Splash", "0");
    store.save("Tessaryn32", "SETTINGS", "splash", "1");
    EXPECT_EQ(store.get("Tessaryn32", "settings", "SPLASH"), "1");
    ASSERT_EQ(store.entries().size(), 1u);
    EXPECT_EQ(store.entries()[0].key, "Splash");
    EXPECT_EQ(store.get("tessaryn32", "Settings", "Splash", "none"), "none");
}

TEST(MemorySettingsStore, RemovesKeysAndSections) {
    MemorySettingsStore store;
    store.save("Tessaryn32", "Settings", "A", "1");
    store.save("Tessaryn32", "Settings", "B", "");
    store.save("Tessaryn32", "Explorer", "A", "2");
    EXPECT_TRUE(store.contains("Tessaryn32", "Settings", "B"));
    store.remove("Tessaryn32", "Settings", "a");
    EXPECT_FALSE(store.contains("Tessaryn32", "Settings", "A"));
    EXPECT_TRUE(store.contains("Tessaryn32", "Settings", "B"));
    store.remove("Tessaryn32", "settings");
    EXPECT_FALSE(store.contains("Tessaryn32", "Settings", "B"));
    EXPECT_EQ(store.get("Tessaryn32", "Explorer", "A"), "2");
}

}  // namespace
}  // namespace tess::testing
