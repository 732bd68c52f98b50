#include "platform/host_path.h"

#include <gtest/gtest.h>

namespace {

struct TitleCase {
    const char* path;
    const char* title;
};

class ApplicationTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleTest, CutsAtFirstDotAndLowersTheRest) {
    EXPECT_EQ(platform::ApplicationTitle(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(Names, ApplicationTitleTest,
                         ::testing::Values(TitleCase{"/opt/x/MyTool.Test.exe", "Mytool"},
                                           TitleCase{"TOOL.exe", "Tool"},
                                           TitleCase{"/usr/bin/kalvero", "Kalvero"},
                                           TitleCase{"/a.b/kALVERO", "Kalvero"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(ExtractFileExt, OnlyADotInTheFileNameCounts) {
    EXPECT_EQ(platform::ExtractFileExt("/home/u/Finds.ZIP"), ".ZIP");
    EXPECT_EQ(platform::ExtractFileExt("/home/u/Pocket.zip.old.zip"), ".zip");
    EXPECT_EQ(platform::ExtractFileExt("/data.zip/Finds"), "");
    EXPECT_EQ(platform::ExtractFileExt("/data/Finds"), "");
}

TEST(ExecutableFolder, EndsWithSeparatorAndHoldsThisBinary) {
    const std::string folder = platform::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(platform::ExecutablePath().rfind(folder, 0), 0u);
}

}  // namespace
