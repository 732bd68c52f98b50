#pragma once
// The bytes of a small "My Finds" pocket query as the window reads it from disk.
#include <QByteArray>
#include <QStringList>

// A UTF-8 GPX with a byte-order mark, the phrase on line 2, finder 1234567 "Beispiel" and one
// "Found it" log for each entry of `days` (yyyy-mm-dd).
QByteArray PocketQueryBytes(const QStringList& days);
