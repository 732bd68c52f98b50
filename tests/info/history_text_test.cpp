// Loading the version history: byte-order marks, the ANSI code page, plain and rich text, the
// failure for a missing file, and the history that ships with the program.
#include "info/history_text.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <cerrno>
#include <string>

#include "platform/host_error.h"

namespace {

using namespace std::string_literals;

struct DecodeCase {
    const char* label;
    std::string bytes;
    const char16_t* text;
};

const DecodeCase kDecodeCases[] = {
    {"utf8_mark",
     "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
     "e"s,
     u"Grüße"},
    {"utf16_le_mark", "\xFF\xFEG\0r\0\xFC\0\xAC\x20"s, u"Grü€"},
    {"utf16_be_mark", "\xFE\xFF\0G\0r\0\xFC\x20\xAC"s, u"Grü€"},
    {"utf16_le_surrogate_pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, u"\U0001F600"},
    {"ansi_without_mark",
     "Gr\xFC\xDF"
     "e \x80 \x84x\x93"s,
     u"Grüße € „x“"},
    {"utf8_without_mark_reads_as_ansi",
     "Gr\xC3\xBC"
     "e"s,
     u"GrÃ¼e"},
    {"ansi_undefined_bytes", "\x81\x8D\x8F\x90\x9D"s, u"\u0081\u008D\u008F\u0090\u009D"},
    {"ansi_upper_half", "\xA0\xC4\xFF"s, u"\u00A0Äÿ"},
    {"nul_ends_the_text", "ab\0cd"s, u"ab"},
    {"nul_ends_utf16_text",
     "\xFF\xFE"
     "a\0\0\0b\0"s,
     u"a"},
    {"mark_only", "\xEF\xBB\xBF"s, u""},
    {"empty", ""s, u""},
};

class DecodeTextFileTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTextFileTest, ChoosesTheEncodingByItsMark) {
    EXPECT_EQ(DecodeTextFile(GetParam().bytes), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Files, DecodeTextFileTest, ::testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.label); });

QStringList Blocks(const QTextEdit& edit) {
    QStringList blocks;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        blocks << block.text();
    }
    return blocks;
}

TEST(ShowHistoryText, PlainTextKeepsEveryKindOfLineEnd) {
    QTextEdit edit;
    ShowHistoryText(edit, QStringLiteral("a\r\nb\nc\rd\r\n\r\ne"));
    EXPECT_EQ(Blocks(edit), (QStringList{"a", "b", "c", "d", "", "e"}));
}

TEST(ShowHistoryText, TextThatOnlyMentionsRtfStaysPlain) {
    QTextEdit edit;
    ShowHistoryText(edit, QStringLiteral("Format: {\\rtf1 \\b x}"));
    EXPECT_EQ(Blocks(edit), (QStringList{"Format: {\\rtf1 \\b x}"}));
}

class HistoryFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        edit_.setPlainText(QStringLiteral("rtfHistorie"));
    }
    std::string Write(const std::string& bytes) {
        const QString path = dir_.filePath(QStringLiteral("Historie.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return QFile::encodeName(path).toStdString();
    }
    bool FirstCharacterBold() {
        QTextCursor cursor(edit_.document());
        cursor.setPosition(1);
        return cursor.charFormat().fontWeight() == QFont::Bold;
    }

    QTemporaryDir dir_;
    QTextEdit edit_;
};

TEST_F(HistoryFile, RichTextIsShownFormattedWhateverItsEncoding) {
    const std::string rtf = "{\\rtf1\\ansi{\\b Neu}\\par Verschl\\'fcsselt\\par}";
    std::string utf16 = "\xFF\xFE";
    for (const char c : rtf) utf16 += std::string{c, '\0'};
    for (const std::string& bytes : {rtf, "\xEF\xBB\xBF" + rtf, utf16}) {
        LoadHistoryFile(edit_, Write(bytes));
        EXPECT_EQ(Blocks(edit_), (QStringList{"Neu", "Verschlüsselt"}));
        EXPECT_TRUE(FirstCharacterBold());
    }
}

TEST_F(HistoryFile, PlainTextIsShownAsItStands) {
    LoadHistoryFile(edit_, Write("\xFF\xFE"
                                 "1\0.\0"
                                 "1\0\r\0\n\0\xE4\0"s));
    EXPECT_EQ(Blocks(edit_), (QStringList{"1.1", "ä"}));
    EXPECT_FALSE(FirstCharacterBold());
}

TEST_F(HistoryFile, MissingFileFailsWithTheOpenErrorAndKeepsTheText) {
    const std::string path =
        QFile::encodeName(dir_.filePath(QStringLiteral("Historie.txt"))).toStdString();
    try {
        LoadHistoryFile(edit_, path);
        FAIL() << "no failure raised";
    } catch (const platform::HostError& failure) {
        EXPECT_EQ(failure.what(), platform::FileOpenErrorText(path, ENOENT));
        EXPECT_EQ(std::string(failure.what()).rfind("Datei " + path + " kann nicht ge", 0), 0u);
    }
    EXPECT_EQ(edit_.toPlainText(), QStringLiteral("rtfHistorie"));
}

TEST(ShippedHistory, IsGermanRichTextNamingTheCurrentVersion) {
    QTextEdit edit;
    LoadHistoryFile(edit, KALVERO_SHIPPED_HISTORY);
    const QString text = edit.toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Version 1.1.0.0")));
    EXPECT_TRUE(text.contains(QStringLiteral("Verschlüsselte")));
    EXPECT_FALSE(text.contains(u'\\')) << "control words leaked into the text";
    EXPECT_FALSE(text.contains(u'{'));
    EXPECT_FALSE(text.contains(QStringLiteral("MS Sans Serif"))) << "font table shown";
    EXPECT_EQ(edit.document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

}  // namespace
