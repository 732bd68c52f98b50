#pragma once
// File masks of the entry searches: the wildcard engine, one name against one mask, the
// attribute filter, and the path parts the searches take. The path parts here end a folder
// part only at a backslash or ":" (a slash is an ordinary character).
#include <cstdint>

#include "ZATypes.h"

// The drive part: the first two characters when the second is ":"; for a text starting with
// two backslashes, the text up to the end of the share name; otherwise empty.
ZAString ZAMaskDrivePart(const ZAString& Path);
// Everything after the last backslash or ":".
ZAString ZAMaskFileNamePart(const ZAString& Path);
// Everything up to and including the last backslash or ":" (empty when there is none).
ZAString ZAMaskFolderPart(const ZAString& Path);
// The text from the last "." on when no backslash or ":" follows it; otherwise empty.
ZAString ZAMaskExtension(const ZAString& Path);
// Every slash replaced by a backslash, and back.
ZAString ZASlashesToBackslashes(ZAString Text);
ZAString ZABackslashesToSlashes(ZAString Text);
// Whether the text holds "*" or "?".
bool ZAHasWildcards(const ZAString& Text);

// "*" stands for any run of characters (leaving at least one to the rest of the mask unless
// it ends the mask), "?" for one character; both match path separators too. A mask of exactly
// "*.*" matches everything. IgnoreCase folds only the ASCII letters.
bool WildcardMatch(const ZAString& Name, const ZAString& Mask, bool IgnoreCase);
// One name against one mask, with the DOS conventions: "*.*" counts as "*", and a mask ending
// in "." matches only names without an extension. An empty mask matches nothing.
bool MatchesMask(const ZAString& Name, const ZAString& Mask);
// Hidden, system, volume-label and directory entries pass only when SearchAttr has their bit.
bool PassesAttrFilter(uint32_t Attributes, int32_t SearchAttr);
