#include "PocketQueryScan.h"

#include <algorithm>
#include <string>

#include "ByteSearch.h"
#include "LineList.h"

namespace {

constexpr QLatin1String kFinderTag("<groundspeak:finder id=");
constexpr QLatin1String kFinderTagQuoted("<groundspeak:finder id=\"");
constexpr QLatin1String kFinderEnd("</groundspeak:finder>");
constexpr QLatin1String kDateTag("<groundspeak:date>");
constexpr QLatin1String kDateEnd("</groundspeak:date>");
constexpr QLatin1String kCountedTypes[] = {
    QLatin1String("<groundspeak:type>Found it</groundspeak:type>"),
    QLatin1String("<groundspeak:type>Attended</groundspeak:type>"),
    QLatin1String("<groundspeak:type>Webcam Photo Taken</groundspeak:type>"),
};

// Index of the first character above U+0020 (the text's length when there is none).
qsizetype FirstNonBlank(QStringView s) {
    qsizetype i = 0;
    while (i < s.size() && s[i].unicode() <= 0x20) ++i;
    return i;
}

QStringView Trimmed(QStringView s) {
    s = s.mid(FirstNonBlank(s));
    qsizetype end = s.size();
    while (end > 0 && s[end - 1].unicode() <= 0x20) --end;
    return s.left(end);
}

bool Contains(std::string_view line, QLatin1String tag) {
    return line.find(std::string_view(tag.data(), static_cast<size_t>(tag.size()))) !=
           std::string_view::npos;
}

// The tags are looked for by their "<" together with the first letter behind the common
// "<groundspeak:": "<" starts nearly every line, but seldom with that letter 13 bytes on.
constexpr size_t kTagPivot = 13;

const char* Find(std::string_view text, QLatin1String tag) {
    const size_t at = FindBytes(text, std::string_view(tag.data(), static_cast<size_t>(tag.size())), kTagPivot);
    return at == std::string_view::npos ? nullptr : text.data() + at;
}

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// `s` without the occurrences of the lower-case `tag` in any case, found left to right in
// `s` as it was, as QString::remove finds them. For ASCII text Qt's case folding is exactly
// this one.
std::string RemoveAsciiTag(std::string_view s, QLatin1String tag) {
    const std::string_view needle(tag.data(), static_cast<size_t>(tag.size()));
    const auto matchesAt = [&](size_t i) {
        for (size_t k = 0; k < needle.size(); ++k) {
            if (AsciiLower(s[i + k]) != needle[k]) return false;
        }
        return true;
    };
    // The tags start with "<", which has no case: the text between two of them is kept whole.
    std::string kept;
    kept.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const size_t candidate = std::min(s.find(needle[0], i), s.size());
        kept.append(s.substr(i, candidate - i));
        i = candidate;
        if (i == s.size()) break;
        if (i + needle.size() <= s.size() && matchesAt(i)) {
            i += needle.size();
        } else {
            kept += s[i++];
        }
    }
    return kept;
}

}  // namespace

const char* FindFinderTag(std::string_view text) { return Find(text, kFinderTag); }

const char* FindDateTag(std::string_view text) { return Find(text, kDateTag); }

bool ContainsMyFindsPhrase(std::string_view line) { return Contains(line, kMyFindsPhrase); }

TFinder ExtractFinder(QStringView line) {
    QString s = Trimmed(line).toString();
    s.remove(kFinderTagQuoted, Qt::CaseInsensitive);
    s.remove(kFinderEnd, Qt::CaseInsensitive);
    const qsizetype p = s.indexOf(u'"') + 1;  // counted from 1, 0 when absent
    TFinder finder;
    finder.id = p > 1 ? s.left(p - 1) : QString();
    finder.name = s.mid(p + 1);
    return finder;
}

bool IsCountedLogType(std::string_view line) {
    for (QLatin1String type : kCountedTypes) {
        if (Contains(line, type)) return true;
    }
    return false;
}

QString ExtractDay(QStringView line) {
    QString s = line.toString();
    s.remove(kDateTag, Qt::CaseInsensitive);
    s.remove(kDateEnd, Qt::CaseInsensitive);
    const qsizetype start = FirstNonBlank(s);
    return s.mid(start, 10);
}

QString ExtractDayUtf8(std::string_view line) {
    // Outside ASCII, case folding can turn other characters into the tags' letters (the
    // Kelvin sign into k, the long s into s): such lines go the way of the decoded text.
    if (!IsAscii(line)) return ExtractDay(LineText(line));
    const std::string s = RemoveAsciiTag(RemoveAsciiTag(line, kDateTag), kDateEnd);
    size_t start = 0;
    while (start < s.size() && static_cast<unsigned char>(s[start]) <= 0x20) ++start;
    return QString::fromLatin1(s.data() + start, static_cast<qsizetype>(std::min<size_t>(10, s.size() - start)));
}
