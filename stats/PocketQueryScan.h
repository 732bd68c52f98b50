#pragma once
// Line tests of the pocket-query scan.
#include <QString>
#include <QStringView>

inline constexpr QStringView kMyFindsPhrase = u"My Finds Pocket Query";
inline constexpr QStringView kRefusalText = u"Das ist keine My Finds Pocket Query !!!";

struct TFinder {
    QString id;
    QString name;
};

bool IsFinderLine(QStringView line);
// The finder id and name of a finder line.
TFinder ExtractFinder(QStringView line);

bool IsDateLine(QStringView line);
// True when `line` holds one of the counted log types (found, attended, webcam photo).
bool IsCountedLogType(QStringView line);
// The day of a date line: its first 10 characters after the tags and leading blanks.
QString ExtractDay(QStringView line);
