#include "PocketQueryScan.h"

#include <cstring>

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

// glibc's memmem skips ahead by the needle's length on most mismatches, far faster than a
// search for the needle's first character, "<", which starts nearly every line.
const char* Find(std::string_view text, QLatin1String tag) {
    return static_cast<const char*>(::memmem(text.data(), text.size(), tag.data(), static_cast<size_t>(tag.size())));
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
