#pragma once
// Line tests of the pocket-query scan.
#include <QString>
#include <QStringView>
#include <string_view>

inline constexpr QLatin1String kMyFindsPhrase("My Finds Pocket Query");
inline constexpr QStringView kRefusalText = u"Das ist keine My Finds Pocket Query !!!";

struct TFinder {
    QString id;
    QString name;
};

// The line tests work on a line's UTF-8 bytes: the tags are ASCII, so a byte search finds
// exactly what a search in the decoded text would find.
bool ContainsMyFindsPhrase(std::string_view line);
// The finder id and name of a finder line.
TFinder ExtractFinder(QStringView line);

// The first finder tag or date tag in `text` (a span of many lines), or null.
const char* FindFinderTag(std::string_view text);
const char* FindDateTag(std::string_view text);
// True when `line` holds one of the counted log types (found, attended, webcam photo).
bool IsCountedLogType(std::string_view line);
// The day of a date line: its first 10 characters after the tags and leading blanks.
QString ExtractDay(QStringView line);
// The same from the line's UTF-8 bytes. A line of ASCII, as date lines are, is worked on as
// bytes; any other is decoded first.
QString ExtractDayUtf8(std::string_view line);
