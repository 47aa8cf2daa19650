// Binding the RAR library by location.
#include "archive/engine/rar_library.h"
#include "base/executable_path.h"
#include "tests/support/fake_rar.h"

#include <gtest/gtest.h>

namespace {

class RarLibraryBind : public ::testing::Test {
protected:
    ~RarLibraryBind() override { ReleaseRarLibrary(); }
};

TEST_F(RarLibraryBind, LoadsTheFirstCandidateThatExists)
{
    EXPECT_TRUE(BindRarLibrary({"/nonexistent/libunrar.so", FakeRarPath()}));
    EXPECT_TRUE(RarLibraryLoaded());
    const RarEntryPoints& points = RarLibrary();
    for (const void* fn : {reinterpret_cast<const void*>(points.RAROpenArchive),
                           reinterpret_cast<const void*>(points.RARCloseArchive),
                           reinterpret_cast<const void*>(points.RARReadHeader),
                           reinterpret_cast<const void*>(points.RARProcessFile),
                           reinterpret_cast<const void*>(points.RARSetChangeVolProc),
                           reinterpret_cast<const void*>(points.RARSetProcessDataProc),
                           reinterpret_cast<const void*>(points.RARSetPassword)})
        EXPECT_NE(fn, nullptr);
}

TEST_F(RarLibraryBind, MissingOrIncompleteLibraryCountsAsNotLoaded)
{
    EXPECT_FALSE(BindRarLibrary({"/nonexistent/libunrar.so"}));
    EXPECT_FALSE(RarLibraryLoaded());
    EXPECT_FALSE(BindRarLibrary({FakeRarPath("fake_unrar_incomplete")}));
    EXPECT_FALSE(RarLibraryLoaded());
    EXPECT_EQ(RarLibrary().RAROpenArchive, nullptr);
    EXPECT_FALSE(BindRarLibrary({}));
}

TEST_F(RarLibraryBind, ReleaseClearsTheBindingAndIsSafeTwice)
{
    ASSERT_TRUE(BindRarLibrary({FakeRarPath()}));
    ReleaseRarLibrary();
    EXPECT_FALSE(RarLibraryLoaded());
    EXPECT_EQ(RarLibrary().RARReadHeader, nullptr);
    ReleaseRarLibrary();
    {
        RarLibraryBinding binding({FakeRarPath()});
        EXPECT_TRUE(RarLibraryLoaded());
    }
    EXPECT_FALSE(RarLibraryLoaded());
}

TEST(RarLibraryLocationTest, ExecutableFolderFirstThenSystemSearch)
{
    EXPECT_EQ(DefaultRarLibraryLocation("/opt/game"),
              (RarLibraryLocation{"/opt/game/libunrar.so", "libunrar.so.5", "libunrar.so"}));
    EXPECT_EQ(DefaultRarLibraryLocation(""), (RarLibraryLocation{"libunrar.so.5", "libunrar.so"}));
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_NE(folder.back(), '/');
}

} // namespace
