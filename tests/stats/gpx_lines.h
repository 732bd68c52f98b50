#pragma once
// Builds line lists shaped like a "My Finds" pocket query for the analysis tests.
#include <QString>
#include <QStringList>

#include "stats/LineList.h"

// Nine header lines (the phrase on line 2), then `body`.
TLineList PocketQuery(const QStringList& body);
// The two lines of one log: its date element and its type element.
QStringList Log(const QString& date, const QString& type = QStringLiteral("Found it"));
