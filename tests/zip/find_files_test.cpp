#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures/ZipBuilder.h"
#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

namespace {

using Names = std::vector<std::string>;

zipfix::ZipEntry Entry(const std::string& name, uint32_t attr = 0x20) {
    zipfix::ZipEntry e;
    e.name = name;
    e.data = "content of " + name;
    e.externalAttr = attr;
    if (!name.empty() && name.back() == '/') {
        e.data.clear();
        e.externalAttr = 0x10;
    }
    return e;
}

// The archiver with the lookup steps that the extraction and batch operations use.
class TestArchiver : public TZipArchiver {
public:
    using TZABaseArchiver::FindEntryForExtraction;
    using TZABaseArchiver::TagEntriesByMask;
    using TZABaseArchiver::TagEntriesByProperties;
};

class Lookup : public ::testing::Test {
protected:
    Lookup() { a.SetName(u"Archiver"); }

    void Open(const zipfix::ZipPlan& plan) {
        const std::string bytes = zipfix::BuildZip(plan);
        stream.Clear();
        stream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        a.OpenArchive(stream, false);
    }
    void Open(const Names& names) {
        zipfix::ZipPlan plan;
        for (const auto& n : names) plan.entries.push_back(Entry(n));
        Open(plan);
    }
    std::string NameOf(int32_t itemNo) {
        return Utf16ToUtf8(a.DirManager()->CDir.ItemPtr(itemNo)->Name);
    }
    Names Search(const std::string& mask, int32_t attr = 10431, const std::string& exclusion = "") {
        Names found;
        TZAArchiveItem f;
        for (bool ok = a.FindFirst(Utf8ToUtf16(mask), f, attr, Utf8ToUtf16(exclusion)); ok;
             ok = a.FindNext(f))
            found.push_back(NameOf(f.Handle.ItemNo));
        return found;
    }
    Names SearchByProperties() {
        Names found;
        TZAArchiveItem f;
        for (bool ok = a.FindFirst(f); ok; ok = a.FindNext(f)) found.push_back(NameOf(f.Handle.ItemNo));
        return found;
    }

    // The archive stream outlives the archiver, which may still close on it.
    TZAMemoryStream stream;
    TestArchiver a;
};

// ---- the lookup of the extraction operations -------------------------------------------------

struct ExtractionLookupCase {
    Names entries;
    std::string request;
    std::string expected;  // empty: nothing found
    TZAStorePathMode storePath = spRelativePath;
};

TEST_F(Lookup, ExtractionLookupTable) {
    const ExtractionLookupCase cases[] = {
        {{"Finds.gpx"}, "FINDS.GPX", "Finds.gpx"},
        {{"Finds.gpx"}, "finds.gpx", "Finds.gpx"},
        {{"Finds.gpx"}, "Finds.gp?", "Finds.gpx"},
        {{"F\xC3\xBCnde.gpx"}, "F\xC3\x9CNDE.GPX", ""},  // only A to Z are folded
        {{"F\xC3\xBCnde.gpx"}, "f\xC3\xBCnde.GPX", "F\xC3\xBCnde.gpx"},
        {{"sub/Finds.gpx"}, "sub\\Finds.gpx", "sub/Finds.gpx"},
        {{"sub/Finds.gpx"}, "sub/Finds.gpx", "sub/Finds.gpx"},
        {{"sub/Finds.gpx"}, "Finds.gpx", ""},
        {{"Finds.gpx"}, "C:Finds.gpx", "Finds.gpx"},
        {{"Finds.gpx"}, "C:\\Finds.gpx", ""},  // the separator after the drive stays
        {{"Finds.gpx"}, "C:Finds.gpx", "", spFullPathWithDrive},
        {{"a.txt", "b.gpx", "c.gpx"}, "*.gpx", "b.gpx"},
        {{"a/x.gpx", "x.gpx"}, "*.gpx", "x.gpx"},  // wildcards stay in the folder given
        {{"docs/"}, "docs", ""},
        {{"x", "x"}, "X", "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request);
        zipfix::ZipPlan plan;
        for (const auto& n : c.entries) {
            zipfix::ZipEntry e = Entry(n);
            e.flags = 0x0800;  // names are UTF-8
            plan.entries.push_back(e);
        }
        Open(plan);
        a.Options().SetStorePath(c.storePath);
        a.Options().SetRecurse(false);
        int32_t itemNo = -7;
        const bool found = a.FindEntryForExtraction(Utf8ToUtf16(c.request), itemNo);
        EXPECT_EQ(found, !c.expected.empty());
        if (found) {
            EXPECT_EQ(NameOf(itemNo), c.expected);
        }
    }
}

TEST_F(Lookup, DuplicateNamesFindTheLastByExactName) {
    Open(Names{"x", "x"});
    int32_t itemNo = -1;
    ASSERT_TRUE(a.FindEntryForExtraction(u"x", itemNo));
    EXPECT_EQ(itemNo, 1);
}

// ---- mask searches ---------------------------------------------------------------------------

struct SearchCase {
    bool recurse;
    std::string mask;
    std::string exclusion;
    Names expected;
};

TEST_F(Lookup, MaskSearchTable) {
    Open(Names{"a.txt", "readme", "readme.txt", "docs/", "sub/a/b.txt", "sub/x.gpx",
               "sub/deep/x.gpx", "x.bak", "x.gpx", "sub/c.txt"});
    const Names all = {"a.txt",    "readme",         "readme.txt", "docs/", "sub/a/b.txt",
                       "sub/x.gpx", "sub/deep/x.gpx", "x.bak",      "x.gpx", "sub/c.txt"};
    const SearchCase cases[] = {
        {true, "x.gpx", "", {"sub/x.gpx", "sub/deep/x.gpx", "x.gpx"}},  // file-name fallback
        {false, "x.gpx", "", {"x.gpx"}},
        {true, "sub\\*", "", {"sub/a/b.txt", "sub/x.gpx", "sub/deep/x.gpx", "sub/c.txt"}},
        {false, "sub\\*", "", {"sub/x.gpx", "sub/c.txt"}},
        {false, "sub/*", "", {"sub/x.gpx", "sub/c.txt"}},
        {true, "*", "", all},
        {true, "*.*", "", all},
        {true, "*.", "", {"readme", "docs/"}},
        {true, "readme.", "", {"readme"}},
        {true, "docs", "", {"docs/"}},  // a folder entry is matched without its slash
        {false, "docs", "", {}},
        {true, "*.*", "*.bak", {"a.txt", "readme", "readme.txt", "docs/", "sub/a/b.txt",
                                "sub/x.gpx", "sub/deep/x.gpx", "x.gpx", "sub/c.txt"}},
        // The exclusion mask is tested against the full name only.
        {true, "*.gpx", "x.gpx", {"sub/x.gpx", "sub/deep/x.gpx"}},
        {false, "*.txt", "", {"a.txt", "readme.txt"}},
        {true, "nothing*", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask + (c.recurse ? " recursive" : " flat"));
        a.Options().SetRecurse(c.recurse);
        EXPECT_EQ(Search(c.mask, 10431, c.exclusion), c.expected);
    }
}

TEST_F(Lookup, AttributeFilterOfAMaskSearch) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("dir", 0x10), Entry("hidden", 0x22), Entry("plain", 0x20),
                    Entry("readonly", 0x21), Entry("system", 0x24)};
    Open(plan);
    EXPECT_EQ(Search("*", 0), (Names{"plain", "readonly"}));
    EXPECT_EQ(Search("*", 0x02), (Names{"hidden", "plain", "readonly"}));
    EXPECT_EQ(Search("*", 10431), (Names{"dir", "hidden", "plain", "readonly", "system"}));
}

TEST_F(Lookup, AMissLeavesTheRecordAsItWas) {
    Open(Names{"a.txt", "b.txt"});
    a.Options().SetRecurse(false);
    TZAArchiveItem f;
    ASSERT_TRUE(a.FindFirst(u"a.txt", f, 10431, u""));
    EXPECT_EQ(f.FileName, u"a.txt");
    // Without wildcards and recursion one entry at most is found.
    EXPECT_FALSE(a.FindNext(f));
    EXPECT_EQ(f.Handle.ItemNo, 0);
    EXPECT_EQ(f.Handle.FindMask(), u"a.txt");
    EXPECT_FALSE(a.FindFirst(u"zzz*", f, 10431, u""));
    EXPECT_EQ(f.FileName, u"a.txt");
    EXPECT_EQ(f.Handle.FindMask(), u"a.txt");
    // FindNext after a miss resumes where the last hit was.
    ASSERT_TRUE(a.FindFirst(u"*.txt", f, 10431, u""));
    ASSERT_TRUE(a.FindNext(f));
    EXPECT_EQ(f.FileName, u"b.txt");
    EXPECT_FALSE(a.FindNext(f));
    EXPECT_EQ(f.Handle.ItemNo, 1);
}

TEST_F(Lookup, OverlongMasksAndClosedArchivesFindNothing) {
    Open(Names{"a.txt"});
    TZAArchiveItem f;
    EXPECT_FALSE(a.FindFirst(ZAString(260, u'*'), f, 10431, u""));
    EXPECT_TRUE(a.FindFirst(ZAString(259, u'*'), f, 10431, u""));
    a.CloseArchive();
    EXPECT_FALSE(a.FindFirst(u"*", f, 10431, u""));
    EXPECT_FALSE(a.FindNext(f));
    EXPECT_FALSE(a.FindFirst(f));
}

struct PropertyCase {
    Names fileMasks;
    Names exclusionMasks;
    Names expected;
};

TEST_F(Lookup, PropertyDrivenSearchTable) {
    Open(Names{"sub/x.txt", "sub/y.bak", "top.txt", "sub/deep/z.txt"});
    auto za = [](const Names& lines) {
        TZAStringList out;
        for (const auto& l : lines) out.push_back(Utf8ToUtf16(l));
        return out;
    };
    const PropertyCase cases[] = {
        {{"sub\\*.txt"}, {}, {"sub/x.txt", "sub/deep/z.txt"}},
        {{"sub/*.txt"}, {}, {}},  // names are tested with backslashes
        {{"*"}, {"*.bak", "*deep*"}, {"sub/x.txt", "top.txt"}},
        {{"top.txt", "*.bak"}, {}, {"sub/y.bak", "top.txt"}},
        {{}, {}, {}},
    };
    for (const auto& c : cases) {
        a.SetFileMasks(za(c.fileMasks));
        a.SetExclusionMasks(za(c.exclusionMasks));
        EXPECT_EQ(SearchByProperties(), c.expected);
    }
    a.SetFileMasks({u"*"});
    a.SetExclusionMasks({});
    a.Options().SetSearchAttr(0);
    Open(Names{"dir/", "file"});
    EXPECT_EQ(SearchByProperties(), Names{"file"});
}

// ---- the search record -----------------------------------------------------------------------

TEST_F(Lookup, RecordFields) {
    zipfix::ZipPlan plan;
    zipfix::ZipEntry deep = Entry("sub/deep/x.gpx");
    deep.comment = "note";
    deep.time = 0x1234;
    deep.date = 0x5678;
    deep.flags = 0x0001;
    deep.externalAttr = 0x21;
    plan.entries = {deep, Entry("docs/"), Entry("c:odd")};
    Open(plan);
    TZAArchiveItem f;
    ASSERT_TRUE(a.FindFirst(u"*", f, 10431, u""));
    EXPECT_EQ(f.FileName, u"x.gpx");
    EXPECT_EQ(f.StoredPath, u"sub\\deep\\");
    EXPECT_EQ(f.Comment, "note");
    EXPECT_EQ(f.LastModFileTime, 0x1234);
    EXPECT_EQ(f.LastModFileDate, 0x5678);
    EXPECT_TRUE(f.Encrypted);
    EXPECT_EQ(f.ExternalFileAttributes, 0x21u);
    EXPECT_EQ(static_cast<uint32_t>(f.CRC), zipfix::Crc32(deep.data));
    ASSERT_TRUE(a.FindNext(f));
    EXPECT_EQ(f.FileName, u"docs");
    EXPECT_EQ(f.StoredPath, u"");
    EXPECT_FALSE(f.Encrypted);
    ASSERT_TRUE(a.FindNext(f));
    EXPECT_EQ(f.FileName, u"odd");
    EXPECT_EQ(f.StoredPath, u"c:");
}

TEST_F(Lookup, CompressionRateTable) {
    struct Case {
        uint32_t comp, uncomp;
        double rate;
    };
    const Case cases[] = {{25, 100, 75.0}, {100, 100, 0.0}, {0, 0, 100.0}, {120, 100, 0.0}};
    for (const auto& c : cases) {
        zipfix::ZipLayout layout;
        zipfix::ZipPlan plan;
        plan.entries = {Entry("x")};
        plan.entries[0].data = std::string(200, 'x');
        std::string bytes = zipfix::BuildZip(plan, &layout);
        zipfix::Poke32(bytes, layout.centralHeaders[0] + 20, c.comp);
        zipfix::Poke32(bytes, layout.centralHeaders[0] + 24, c.uncomp);
        stream.Clear();
        stream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
        a.OpenArchive(stream, false);
        TZAArchiveItem f;
        ASSERT_TRUE(a.FindFirst(u"x", f, 10431, u""));
        EXPECT_EQ(f.CompressedSize, c.comp);
        EXPECT_EQ(f.UncompressedSize, c.uncomp);
        EXPECT_DOUBLE_EQ(f.CompressionRate, c.rate) << c.comp << "/" << c.uncomp;
    }
}

TEST_F(Lookup, Zip64SizesComeFromTheZip64Block) {
    zipfix::ZipPlan plan;
    zipfix::ZipEntry e = Entry("big");
    e.data = std::string(1000, 'b');
    e.method = 8;
    e.zip64Sizes = true;
    plan.entries = {e};
    Open(plan);
    TZAArchiveItem f;
    ASSERT_TRUE(a.FindFirst(u"big", f, 10431, u""));
    EXPECT_EQ(f.UncompressedSize, 1000);
    EXPECT_EQ(f.CompressedSize, static_cast<int64_t>(zipfix::Deflate(e.data).size()));
}

// ---- tagging ---------------------------------------------------------------------------------

TEST_F(Lookup, TaggingMarksExactlyTheEntriesFound) {
    Open(Names{"a.txt", "b.gpx", "c.txt", "d/"});
    auto tagged = [this] {
        Names out;
        for (int32_t i = 0; i < a.DirManager()->CDir.Count(); ++i)
            if (a.DirManager()->CDir.ItemPtr(i)->Tagged) out.push_back(NameOf(i));
        return out;
    };
    a.TagEntriesByMask(u"*.txt", 10431, u"");
    EXPECT_EQ(tagged(), (Names{"a.txt", "c.txt"}));
    a.TagEntriesByMask(u"*", 0, u"a*");  // earlier marks are cleared first
    EXPECT_EQ(tagged(), (Names{"b.gpx", "c.txt"}));
    a.SetFileMasks({u"*.gpx", u"d"});
    a.TagEntriesByProperties();
    EXPECT_EQ(tagged(), (Names{"b.gpx"}));  // property masks see "d/" with its separator
}

}  // namespace
