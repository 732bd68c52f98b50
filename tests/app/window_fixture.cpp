#include "window_fixture.h"

#include <QAction>
#include <QFile>

#include "zip/fixtures/ZipBuilder.h"

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

void TWindowTest::SetUp() {
    window = std::make_unique<TfrmMain>(global);
    window->FormCreate();
}

QString TWindowTest::Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QString TWindowTest::WriteZip(const QString& name, const std::string& entryName, const std::string& content) {
    zipfix::ZipPlan plan;
    zipfix::ZipEntry entry;
    entry.name = entryName;
    entry.data = content;
    entry.method = 8;
    plan.entries.push_back(entry);
    const std::string bytes = zipfix::BuildZip(plan);
    return Write(name, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void TWindowTest::Open(const std::optional<QString>& path) {
    ui.dialogAnswers.push_back(path);
    window->FileOpen1->trigger();
}
