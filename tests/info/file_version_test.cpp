// The version numbers an executable carries, read from its file.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include "info/hfunctions.h"
#include "platform/host_path.h"

namespace {

struct Numbers {
    uint16_t major = 7, minor = 7, release = 7, build = 7;  // "untouched" marker
    bool operator==(const Numbers&) const = default;
};

bool Read(const QString& file, Numbers& numbers) {
    return GetFileVersionNumbers(file, numbers.major, numbers.minor, numbers.release,
                                 numbers.build);
}

QByteArray OwnExecutable() {
    QFile self(QFile::decodeName(platform::ExecutablePath().c_str()));
    EXPECT_TRUE(self.open(QIODevice::ReadOnly));
    return self.readAll();
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// The version record as this build writes it: signature, record version, 1.1 and 0.0.
const QByteArray kBuildRecord = QByteArray::fromHex(
    "bd04effe"
    "00000100"
    "01000100"
    "00000000");

TEST(FileVersion, TheProgramCarriesTheBuildsVersion) {
    Numbers numbers;
    ASSERT_TRUE(Read(QFile::decodeName(platform::ExecutablePath().c_str()), numbers));
    EXPECT_EQ(numbers, (Numbers{1, 1, 0, 0}));
}

TEST(FileVersion, FilesWithoutAVersionBlockLeaveTheNumbersUntouched) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray renamed = OwnExecutable();
    // The section-name table lies near the end of the file, after every string constant.
    const qsizetype name = renamed.lastIndexOf(QByteArray(".kalvero.version", 17));
    ASSERT_GE(name, 0);
    renamed[name + 1] = 'X';

    const QString files[] = {
        WriteFile(dir, "renamed-section", renamed),
        WriteFile(dir, "header-only", OwnExecutable().left(64)),
        WriteFile(dir, "text", "Kalvero 1.1.0.0\n"),
        WriteFile(dir, "empty", QByteArray()),
        dir.filePath(QStringLiteral("missing")),
        dir.path(),
    };
    for (const QString& file : files) {
        Numbers numbers;
        EXPECT_FALSE(Read(file, numbers)) << file.toStdString();
        EXPECT_EQ(numbers, Numbers{}) << file.toStdString();
    }
}

TEST(FileVersion, ABlockWithoutItsSignatureCountsButGivesNoNumbers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray patched = OwnExecutable();
    const qsizetype record = patched.indexOf(kBuildRecord);
    ASSERT_GE(record, 0);
    patched[record] = '\0';
    Numbers numbers;
    EXPECT_TRUE(Read(WriteFile(dir, "bad-signature", patched), numbers));
    EXPECT_EQ(numbers, Numbers{});
}

TEST(FileVersion, DamagedSectionTablesAreRefusedSafely) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray original = OwnExecutable();
    // e_shoff (offset 0x28, 8 bytes) and e_shnum (offset 0x3C, 2 bytes) of a 64-bit header.
    struct Patch {
        int offset;
        QByteArray bytes;
    };
    const Patch patches[] = {
        {0x28, QByteArray::fromHex("ffffffffffffff7f")},  // section table far beyond the end
        {0x28, QByteArray::fromHex("f0ffffffffffffff")},  // offset that wraps around
        {0x3C, QByteArray::fromHex("ffff")},              // more sections than the file holds
        {0x3E, QByteArray::fromHex("fe7f")},              // name table index out of range
    };
    for (const Patch& patch : patches) {
        QByteArray damaged = original;
        damaged.replace(patch.offset, patch.bytes.size(), patch.bytes);
        Numbers numbers;
        EXPECT_FALSE(Read(WriteFile(dir, "damaged", damaged), numbers)) << patch.offset;
        EXPECT_EQ(numbers, Numbers{});
    }
}

}  // namespace
