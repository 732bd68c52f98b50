// The chained hash, the hashed string list and the directory array's name bookkeeping.
#include <gtest/gtest.h>

#include <string>

#include "zip/ZADirArray.h"
#include "zip/ZAExcept.h"
#include "zip/ZAHashedStringList.h"
#include "zip/ZAStringHash.h"

namespace {

ZAString Name(int i) { return u"dir/File" + Utf8ToUtf16(std::to_string(i)) + u".TXT"; }

TDirItem Item(const ZAString& name) {
    TDirItem item;
    item.Name = name;
    return item;
}

}  // namespace

struct HashCase {
    std::u16string key;
    uint32_t hash;
};

class HashKeyValues : public ::testing::TestWithParam<HashCase> {};

TEST_P(HashKeyValues, RotatesByTwoAndXors) {
    TZAStringHash hash(7);
    EXPECT_EQ(hash.HashKey(GetParam().key), GetParam().hash);
}

INSTANTIATE_TEST_SUITE_P(
    NameIndex, HashKeyValues,
    ::testing::Values(HashCase{u"", 0}, HashCase{u"A", 0x41}, HashCase{u"AB", 0x146},
                      // 17 code units: the first one has come round the 32 bits again
                      HashCase{u"\u8000aaaaaaaaaaaaaaaa", 0xAAAA2AAA},
                      HashCase{u"\uffff\uffff", 0x30003}));

TEST(NameIndex, HashKeepsDuplicatesAndFindsTheLastAdded) {
    TZAStringHash hash(3);
    hash.Add(u"a", 1);
    hash.Add(u"b", 2);
    hash.Add(u"a", 3);
    EXPECT_EQ(hash.ValueOf(u"a"), 3);
    EXPECT_EQ(hash.ValueOf(u"A"), -1);
    EXPECT_TRUE(hash.Modify(u"a", 4));
    EXPECT_FALSE(hash.Modify(u"c", 4));
    hash.Remove(u"a");
    EXPECT_EQ(hash.ValueOf(u"a"), 1);
    hash.Remove(u"a");
    EXPECT_EQ(hash.ValueOf(u"a"), -1);
    EXPECT_EQ(hash.ValueOf(u"b"), 2);
    hash.Clear();
    EXPECT_EQ(hash.ValueOf(u"b"), -1);
    EXPECT_EQ(hash.Size(), 3u);
}

TEST(NameIndex, ListFoldsOnlyAsciiLetters) {
    TZAHashedStringList list;
    list.Add(u"README.TXT");
    list.Add(u"\u00c4rger.txt");
    EXPECT_EQ(list.IndexOf(u"readme.txt"), 0);
    EXPECT_EQ(list.IndexOf(u"\u00c4RGER.TXT"), 1);
    EXPECT_EQ(list.IndexOf(u"\u00e4rger.txt"), -1);
    EXPECT_EQ(LowerAscii(u"A\u00c4Z@[`{"), u"a\u00c4z@[`{");
}

TEST(NameIndex, ValueHashGrowsWhenFiveStringsShareABucket) {
    TZAHashedStringList list;
    EXPECT_EQ(list.IndexOf(u"x"), -1);
    ASSERT_NE(list.ValueHash(), nullptr);
    EXPECT_EQ(list.ValueHash()->Size(), 1000u);
    for (int i = 0; i < 5000; ++i) list.Add(Name(i));
    ASSERT_NE(list.ValueHash(), nullptr);
    EXPECT_EQ(list.ValueHash()->Size(), 1000u);
    EXPECT_EQ(list.IndexOf(Name(4999)), 4999);
    list.Add(Name(5000));
    EXPECT_EQ(list.ValueHash(), nullptr);
    EXPECT_EQ(list.IndexOf(Name(0)), 0);
    ASSERT_NE(list.ValueHash(), nullptr);
    EXPECT_EQ(list.ValueHash()->Size(), 5001u);
    for (int i = 0; i <= 5000; ++i) ASSERT_EQ(list.IndexOf(Name(i)), i) << i;
}

TEST(NameIndex, ListKeepsItsIndexesInStep) {
    TZAHashedStringList list;
    list.Add(u"a=1");
    list.Add(u"b=2");
    list.Add(u"c");
    EXPECT_EQ(list.IndexOfName(u"B"), 1);
    EXPECT_EQ(list.IndexOfName(u"c"), -1);
    list.Update(1, u"d=3");
    EXPECT_EQ(list.IndexOf(u"b=2"), -1);
    EXPECT_EQ(list.IndexOf(u"d=3"), 1);
    EXPECT_EQ(list.IndexOfName(u"d"), 1);
    list.Delete(0);
    EXPECT_EQ(list.IndexOf(u"d=3"), 0);
    EXPECT_EQ(list.IndexOf(u"c"), 1);
    EXPECT_EQ(list.IndexOfName(u"a"), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOf(u"c"), -1);
    EXPECT_EQ(list.Add(u"e"), 0);
    EXPECT_EQ(list.IndexOf(u"E"), 0);
}

TEST(NameIndex, UpdateMovesTheKeyOfItsOwnPosition) {
    TZAHashedStringList list;
    list.Add(u"same");
    list.Add(u"same");
    EXPECT_EQ(list.IndexOf(u"same"), 1);
    list.Update(0, u"other");
    EXPECT_EQ(list.IndexOf(u"same"), 1);
    EXPECT_EQ(list.IndexOf(u"other"), 0);
    list.Update(1, u"third");
    EXPECT_EQ(list.IndexOf(u"same"), -1);
}

struct CapacityCase {
    std::vector<int32_t> counts;  // written one after another
    int32_t capacity;
};

class DirCapacity : public ::testing::TestWithParam<CapacityCase> {};

TEST_P(DirCapacity, GrowsInDoublingStepsUpToTenThousand) {
    TZADirArray dir;
    for (int32_t n : GetParam().counts) dir.SetCount(n);
    EXPECT_EQ(dir.Capacity(), GetParam().capacity);
}

INSTANTIATE_TEST_SUITE_P(
    NameIndex, DirCapacity,
    ::testing::Values(CapacityCase{{1}, 1000}, CapacityCase{{999}, 1000},
                      CapacityCase{{1000}, 1000}, CapacityCase{{65535}, 65535},
                      CapacityCase{{1, 1001}, 3000}, CapacityCase{{1, 1001, 3001}, 7000},
                      CapacityCase{{1, 1001, 3001, 7001}, 15000},
                      CapacityCase{{1, 1001, 3001, 7001, 15001}, 25000},
                      CapacityCase{{1, 1001, 3001, 7001, 15001, 25001}, 35000},
                      CapacityCase{{1, 1001, 5}, 3000}, CapacityCase{{1, 1001, 0}, 0}));

TEST(NameIndex, CountBetweenOneAndCapacityKeepsTheSlots) {
    TZADirArray dir;
    dir.SetCount(3);
    dir.ItemPtr(2)->CentralDir.crc32 = 77;
    dir.SetCount(1);
    dir.SetCount(3);
    EXPECT_EQ(dir.ItemPtr(2)->CentralDir.crc32, 77u);
    dir.SetCount(0);
    dir.SetCount(3);
    EXPECT_EQ(dir.ItemPtr(2)->CentralDir.crc32, 0u);
}

struct RangeCase {
    const char* what;
    int32_t nativeError;
    void (*call)(TZADirArray&, int32_t);
};

class DirRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(DirRange, IndexOutsideTheDirectoryFails) {
    TZADirArray dir;
    dir.SetCount(2);
    dir.SetItemName(0, u"a");
    dir.SetItemName(1, u"b");
    for (int32_t bad : {-1, 2}) {
        try {
            GetParam().call(dir, bad);
            ADD_FAILURE() << GetParam().what << " at " << bad << " did not fail";
        } catch (const EZAException& e) {
            EXPECT_EQ(e.NativeError, GetParam().nativeError);
            EXPECT_EQ(e.ErrorCode, 1);
            char expected[64];
            std::snprintf(expected, sizeof expected, "Index out of bounds - Native error: %05d",
                          GetParam().nativeError);
            EXPECT_STREQ(e.what(), expected);
        }
    }
    EXPECT_EQ(dir.Count(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    NameIndex, DirRange,
    ::testing::Values(
        RangeCase{"SetItem", 1, [](TZADirArray& d, int32_t i) { d.SetItem(i, Item(u"x")); }},
        RangeCase{"GetItem", 2, [](TZADirArray& d, int32_t i) { (void)d.GetItem(i); }},
        RangeCase{"ItemPtr", 3, [](TZADirArray& d, int32_t i) { (void)d.ItemPtr(i); }},
        RangeCase{"DeleteItem", 4, [](TZADirArray& d, int32_t i) { d.DeleteItem(i); }}));

TEST(NameIndex, FileExistsFoldsAsciiAndYieldsTheLaterOfTwo) {
    TZADirArray dir;
    dir.SetCount(3);
    dir.SetItemName(0, u"Data/A.txt");
    dir.SetItemName(1, u"data/a.TXT");
    dir.SetItemName(2, u"other");
    int32_t no = 99;
    EXPECT_TRUE(dir.FileExists(u"DATA/A.TXT", no));
    EXPECT_EQ(no, 1);
    EXPECT_FALSE(dir.FileExists(u"data\\a.txt", no));
    EXPECT_EQ(no, -1);
    EXPECT_FALSE(dir.FileExists(u" other", no));
    EXPECT_EQ(dir.ItemPtr(0)->Name, u"Data/A.txt");
}

TEST(NameIndex, EmptyFirstNameDoesNotDisturbTheFollowingEntries) {
    TZADirArray dir;
    dir.SetCount(4);
    dir.SetItemName(0, u"");
    dir.SetItemName(1, u"b.txt");
    dir.SetItemName(2, u"");
    dir.SetItemName(3, u"d.txt");
    int32_t no = -1;
    EXPECT_TRUE(dir.FileExists(u"B.TXT", no));
    EXPECT_EQ(no, 1);
    EXPECT_TRUE(dir.FileExists(u"d.txt", no));
    EXPECT_EQ(no, 3);
    EXPECT_TRUE(dir.FileExists(u"", no));
    EXPECT_EQ(no, 2);
    // A later rename of the entry (as a Unicode name block does) stays in its position.
    dir.SetItemName(3, u"D-renamed");
    EXPECT_TRUE(dir.FileExists(u"d-RENAMED", no));
    EXPECT_EQ(no, 3);
    EXPECT_FALSE(dir.FileExists(u"d.txt", no));
}

TEST(NameIndex, NamingOutOfOrderIsRefusedAndChangesNothing) {
    TZADirArray dir;
    dir.SetCount(3);
    dir.SetItemName(0, u"a");
    try {
        dir.SetItemName(2, u"c");
        FAIL() << "naming entry 2 before entry 1 was accepted";
    } catch (const EZAException& e) {
        EXPECT_EQ(e.NativeError, 59);
        EXPECT_STREQ(e.what(), "Hashed list of file names is invalid - Native error: 00059");
    }
    EXPECT_EQ(dir.ItemPtr(2)->Name, u"");
    EXPECT_EQ(dir.ItemNamesList().Count(), 1);
    try {
        dir.SetItem(2, Item(u"c"));
        FAIL() << "storing entry 2 before entry 1 was accepted";
    } catch (const EZAException& e) {
        EXPECT_EQ(e.NativeError, 58);
    }
    EXPECT_EQ(dir.ItemPtr(2)->Name, u"");
}

TEST(NameIndex, AssignAppendAndDeleteKeepNamesInStep) {
    TZADirArray first;
    first.SetCount(2);
    first.SetItemName(0, u"same");
    first.SetItemName(1, u"SAME");
    TZAExtraFieldDataBlock block;
    block.headerID = 0x7875;
    block.dataSize = 2;
    block.pData = {1, 2};
    first.ItemPtr(1)->ExtraFields.push_back(block);

    TZADirArray dir;
    dir.Assign(first);
    dir.Append(first);
    ASSERT_EQ(dir.Count(), 4);
    EXPECT_EQ(dir.ItemPtr(3)->ExtraFields.size(), 1u);
    EXPECT_EQ(dir.ItemPtr(3)->ExtraFields[0].pData, (std::vector<uint8_t>{1, 2}));
    int32_t no = -1;
    EXPECT_TRUE(dir.FileExists(u"same", no));
    EXPECT_EQ(no, 3);
    // Deleting the first of several equal names removes its own position, not the last.
    dir.DeleteItem(0);
    ASSERT_EQ(dir.Count(), 3);
    EXPECT_EQ(dir.ItemPtr(0)->Name, u"SAME");
    EXPECT_TRUE(dir.FileExists(u"same", no));
    EXPECT_EQ(no, 2);
    for (int32_t i = 0; i < dir.Count(); ++i) {
        EXPECT_EQ(dir.ItemNamesList().Get(i), LowerAscii(dir.ItemPtr(i)->Name)) << i;
    }
    dir.ClearTags();
    dir.Clear();
    EXPECT_EQ(dir.Count(), 0);
    EXPECT_FALSE(dir.FileExists(u"same", no));
}
