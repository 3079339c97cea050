#include "engine/TestFileName.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(TestFileName, NamesCarryTwoIndexDigitsInTheDriveRoot)
{
    TestFileName name("/mnt/data");
    MakeTestFileName(name, 0);
    EXPECT_EQ(name.Text(), "/mnt/data/~kelt00x.tmp");
    MakeTestFileName(name, 7);
    EXPECT_EQ(name.Text(), "/mnt/data/~kelt07x.tmp");
    MakeTestFileName(name, 99);
    EXPECT_EQ(name.Text(), "/mnt/data/~kelt99x.tmp");
    MakeTestFileName(name, kExtraFileIndex);
    EXPECT_EQ(name.Text(), "/mnt/data/~keltwwx.tmp");
}

TEST(TestFileName, RebuildingChangesOnlyTheIndexCharacters)
{
    TestFileName name("/");
    MakeTestFileName(name, 7);
    const std::string before = name.Text();
    MakeTestFileName(name, 12);
    const std::string after = name.Text();
    ASSERT_EQ(before.size(), after.size());
    int changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        changed += before[i] != after[i] ? 1 : 0;
    }
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(after, "/~kelt12x.tmp");  // no doubled slash at the file-system root
}

}  // namespace
}  // namespace kel
