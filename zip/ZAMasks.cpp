#include "ZAMasks.h"

#include <algorithm>
#include <vector>

namespace {

bool IsMaskDelimiter(char16_t c) { return c == u'\\' || c == u':'; }

size_t AfterLastMaskDelimiter(const ZAString& Path) {
    for (size_t i = Path.size(); i > 0; --i)
        if (IsMaskDelimiter(Path[i - 1])) return i;
    return 0;
}

char16_t LowerAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
}

bool SameChar(char16_t a, char16_t b, bool IgnoreCase) {
    return IgnoreCase ? LowerAscii(a) == LowerAscii(b) : a == b;
}

}  // namespace

ZAString ZAMaskDrivePart(const ZAString& Path) {
    if (Path.size() >= 2 && Path[1] == u':') return Path.substr(0, 2);
    if (Path.size() >= 2 && Path[0] == u'\\' && Path[1] == u'\\') {
        // \\server\share: up to the backslash that ends the share name.
        const size_t serverEnd = Path.find(u'\\', 2);
        if (serverEnd == ZAString::npos) return Path;
        const size_t shareEnd = Path.find(u'\\', serverEnd + 1);
        if (shareEnd == ZAString::npos) return Path;
        return Path.substr(0, shareEnd);
    }
    return {};
}

ZAString ZAMaskFileNamePart(const ZAString& Path) {
    return Path.substr(AfterLastMaskDelimiter(Path));
}

ZAString ZAMaskFolderPart(const ZAString& Path) {
    return Path.substr(0, AfterLastMaskDelimiter(Path));
}

ZAString ZAMaskExtension(const ZAString& Path) {
    const size_t dot = Path.rfind(u'.');
    if (dot == ZAString::npos || dot < AfterLastMaskDelimiter(Path)) return {};
    return Path.substr(dot);
}

ZAString ZASlashesToBackslashes(ZAString Text) {
    std::replace(Text.begin(), Text.end(), u'/', u'\\');
    return Text;
}

ZAString ZABackslashesToSlashes(ZAString Text) {
    std::replace(Text.begin(), Text.end(), u'\\', u'/');
    return Text;
}

bool ZAHasWildcards(const ZAString& Text) {
    return Text.find_first_of(u"*?") != ZAString::npos;
}

// The walk over name and mask, evaluated from the end of the mask backwards. State (i, j)
// stands for "name from i, mask from j" inside the walk; at[i] holds its outcome for the
// current j. A "*" tries the rest of the mask at every later name position, and each such
// try is a fresh walk, which starts with the "*.*" test. Computing each state once keeps
// masks with many stars linear in name length times mask length.
bool WildcardMatch(const ZAString& Name, const ZAString& Mask, bool IgnoreCase) {
    if (Mask == u"*.*") return true;
    const size_t n = Name.size();
    const size_t m = Mask.size();
    if (Mask.find(u'*') == ZAString::npos) {
        if (n != m) return false;
        for (size_t i = 0; i < n; ++i)
            if (Mask[i] != u'?' && !SameChar(Name[i], Mask[i], IgnoreCase)) return false;
        return true;
    }

    // next: the walk's outcome from mask position j + 1; nextFresh: whether a fresh walk
    // from j + 1 matches everything (its mask rest is exactly "*.*").
    std::vector<char> next(n + 1, 0), cur(n + 1, 0), anyFrom(n + 1, 0);
    next[n] = 1;  // both exhausted
    bool nextFresh = false;
    for (size_t j = m; j-- > 0;) {
        const char16_t mc = Mask[j];
        if (j == m - 1 && mc == u'*') {
            std::fill(cur.begin(), cur.end(), 1);
        } else {
            cur[n] = 0;  // name exhausted, mask is not
            if (mc == u'*') {
                // anyFrom[i]: a fresh walk from j + 1 matches at some k in [i, n).
                anyFrom[n] = 0;
                for (size_t k = n; k-- > 0;) anyFrom[k] = (nextFresh || next[k]) || anyFrom[k + 1];
                for (size_t i = 0; i < n; ++i) cur[i] = anyFrom[i];
            } else {
                for (size_t i = 0; i < n; ++i)
                    cur[i] = (mc == u'?' || SameChar(Name[i], mc, IgnoreCase)) ? next[i + 1] : 0;
            }
        }
        nextFresh = Mask.compare(j, ZAString::npos, u"*.*") == 0;
        std::swap(cur, next);
    }
    return next[0] != 0;
}

bool MatchesMask(const ZAString& Name, const ZAString& Mask) {
    if (Mask.empty()) return false;
    const size_t starDotStar = Mask.find(u"*.*");
    ZAString m = starDotStar == ZAString::npos
                     ? Mask
                     : Mask.substr(0, starDotStar) + u'*' + Mask.substr(starDotStar + 3);
    const bool maskEndsWithDot = Mask.back() == u'.';
    if (maskEndsWithDot) m.pop_back();
    ZAString name = Name;
    if (!name.empty() && name.back() == u'.') name.pop_back();
    bool result = WildcardMatch(name, m, true);
    if (result && maskEndsWithDot) {
        const ZAString ext = ZAMaskExtension(Name);
        result = ext.empty() || ext == u".";
    }
    return result;
}

bool PassesAttrFilter(uint32_t Attributes, int32_t SearchAttr) {
    return (Attributes & 0x1Eu & ~static_cast<uint32_t>(SearchAttr)) == 0;
}
