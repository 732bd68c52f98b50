#include "pocket_query_file.h"

QByteArray PocketQueryBytes(const QStringList& days) {
    QByteArray gpx =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
        "<gpx version=\"1.0\">\r\n"
        "  <name>My Finds Pocket Query</name>\r\n";
    for (int i = 3; i < 9; ++i) gpx += "  <desc>header</desc>\r\n";
    gpx += "      <groundspeak:finder id=\"1234567\">Beispiel</groundspeak:finder>\r\n";
    for (const QString& d : days) {
        gpx += "            <groundspeak:date>" + d.toUtf8() + "T19:00:00Z</groundspeak:date>\r\n";
        gpx += "            <groundspeak:type>Found it</groundspeak:type>\r\n";
    }
    gpx += "</gpx>\r\n";
    return gpx;
}
