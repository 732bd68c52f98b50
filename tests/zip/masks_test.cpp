#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "zip/ZAMasks.h"

namespace {

struct MatchCase {
    const char16_t* name;
    const char16_t* mask;
    bool expected;
};

TEST(WildcardMatch, Table) {
    const MatchCase cases[] = {
        {u"anything", u"*.*", true},
        {u"", u"*.*", true},
        {u"", u"*", true},
        {u"", u"**", false},   // an exhausted name is settled before a "*" is looked at
        {u"a", u"a*", true},
        {u"a", u"a**", false},
        {u"ab", u"a**", true},
        {u"", u"", true},
        {u"a", u"", false},
        {u"", u"?", false},
        {u"abc", u"a?c", true},
        {u"abc", u"a?", false},
        {u"ABC", u"abc", true},  // case is ignored for A to Z
        {u"\u00dc", u"\u00fc", false},  // but not for other letters
        {u"sub/deep/x.gpx", u"*x.gpx", true},  // "*" runs across separators
        {u"sub/x", u"sub?x", true},
        {u"x.gpx", u"*x.gpx", true},  // a "*" may stand for nothing
        {u"ax.gpx", u"*x.gpx", true},
        {u"finds.gpx", u"*.gpx", true},
        {u"finds.gpx.bak", u"*.gpx", false},
        {u"a.b.c", u"*.c", true},
        {u"abcabd", u"*abd", true},
        {u"abcab", u"*c*b", true},
        {u"", u"**.*", false},
        {u"x", u"**.*", true},   // the walk after the first "*" starts fresh with "*.*"
        {u"xy", u"?*.*", false},  // "*.*" reached inside a walk is not the match-all mask
        {u"x.y", u"?*.*", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.name, c.mask, true), c.expected)
            << "name '" << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name))
            << "' mask '"
            << std::string(c.mask, c.mask + std::char_traits<char16_t>::length(c.mask)) << "'";
    }
    EXPECT_FALSE(WildcardMatch(u"ABC", u"abc", false));
}

// The walk as a direct recursion over name and mask, for comparison on many small inputs.
bool WalkReference(const std::u16string& name, const std::u16string& mask) {
    if (mask == u"*.*") return true;
    size_t i = 0, j = 0;
    auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
    for (;;) {
        if (mask.compare(j, std::u16string::npos, u"*") == 0) return true;
        if (i == name.size()) return j == mask.size();
        if (j == mask.size()) return false;
        if (mask[j] == u'*') {
            for (size_t k = i; k < name.size(); ++k)
                if (WalkReference(name.substr(k), mask.substr(j + 1))) return true;
            return false;
        }
        if (mask[j] != u'?' && lower(name[i]) != lower(mask[j])) return false;
        ++i;
        ++j;
    }
}

TEST(WildcardMatch, AgreesWithTheDirectWalkOnRandomInputs) {
    std::mt19937 rng(12345);
    const char16_t nameChars[] = u"aAb.";
    const char16_t maskChars[] = u"ab*?.";
    auto random = [&rng](const char16_t* alphabet, size_t alphabetSize, size_t maxLength) {
        std::u16string s(std::uniform_int_distribution<size_t>(0, maxLength)(rng), u'a');
        for (auto& c : s) c = alphabet[std::uniform_int_distribution<size_t>(0, alphabetSize - 1)(rng)];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::u16string name = random(nameChars, 4, 7);
        const std::u16string mask = random(maskChars, 5, 6);
        ASSERT_EQ(WildcardMatch(name, mask, true), WalkReference(name, mask))
            << std::string(name.begin(), name.end()) << " / " << std::string(mask.begin(), mask.end());
    }
}

TEST(WildcardMatch, ManyStarsAgainstALongNameFinishQuickly) {
    // A direct recursion would need about 4000^10 steps here.
    const std::u16string name(4000, u'a');
    EXPECT_FALSE(WildcardMatch(name, u"*a*a*a*a*a*a*a*a*a*a*b", true));
    EXPECT_TRUE(WildcardMatch(name + u"b", u"*a*a*a*a*a*a*a*a*a*a*b", true));
}

TEST(MatchesMask, Table) {
    const MatchCase cases[] = {
        {u"x", u"", false},
        {u"", u"", false},
        {u"readme", u"*", true},
        {u"readme", u"*.*", true},  // "*.*" counts as "*", so names without a dot match
        {u"readme", u"*.", true},
        {u"readme.txt", u"*.", false},
        {u"readme", u"readme.", true},
        {u"readme.txt", u"readme.", false},
        {u"readme.", u"readme", true},  // a final dot of the name is dropped
        {u"readme.", u"readme.", true},
        {u"a.b.c", u"*.*.c", true},   // only the first "*.*" is folded
        {u"sub\\x.txt", u"sub\\*.txt", true},
        {u"sub\\x.txt", u"sub/*.txt", false},
        // The extension test knows backslash and ":" only: a slash ends no folder part.
        {u"sub.d/readme", u"*.", false},
        {u"sub.d\\readme", u"*.", true},
        {u"c.d:readme", u"*.", true},
        {u"FINDS.GPX", u"finds.gpx", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.expected)
            << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)) << " / "
            << std::string(c.mask, c.mask + std::char_traits<char16_t>::length(c.mask));
    }
}

TEST(PassesAttrFilter, Table) {
    struct Case {
        uint32_t attr;
        int32_t searchAttr;
        bool expected;
    };
    const Case cases[] = {
        {0x10, 0, false},        // directory
        {0x22, 0, false},        // hidden
        {0x24, 0, false},        // system
        {0x28, 0, false},        // volume label
        {0x20, 0, true},         // archive never excludes
        {0x21, 0, true},         // read-only never excludes
        {0xFFFF0080, 0, true},   // nor do higher bits
        {0x10, 0x10, true},
        {0x12, 0x10, false},
        {0x1E, 10431, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PassesAttrFilter(c.attr, c.searchAttr), c.expected)
            << std::hex << c.attr << " / " << c.searchAttr;
}

TEST(MaskPathParts, Table) {
    struct Case {
        const char16_t* path;
        const char16_t* drive;
        const char16_t* folder;
        const char16_t* file;
        const char16_t* ext;
    };
    const Case cases[] = {
        {u"C:Finds.gpx", u"C:", u"C:", u"Finds.gpx", u".gpx"},
        {u"C:\\a\\b.txt", u"C:", u"C:\\a\\", u"b.txt", u".txt"},
        {u"\\\\srv\\share\\dir\\x", u"\\\\srv\\share", u"\\\\srv\\share\\dir\\", u"x", u""},
        {u"\\\\srv\\share", u"\\\\srv\\share", u"\\\\srv\\", u"share", u""},
        {u"\\\\srv", u"\\\\srv", u"\\\\", u"srv", u""},
        {u"sub/x.txt", u"", u"", u"sub/x.txt", u".txt"},
        {u"a.b\\c", u"", u"a.b\\", u"c", u""},
        {u"\\x", u"", u"\\", u"x", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZAMaskDrivePart(c.path), c.drive);
        EXPECT_EQ(ZAMaskFolderPart(c.path), c.folder);
        EXPECT_EQ(ZAMaskFileNamePart(c.path), c.file);
        EXPECT_EQ(ZAMaskExtension(c.path), c.ext);
    }
}

}  // namespace
