// The rich-text reader: text, escapes, skipped groups, character and paragraph formats.
#include "info/rtf_reader.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>

namespace {

// The document's text with '\n' between paragraphs; line separators and no-break spaces stay.
QString BlockText(const QTextDocument& document) {
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        blocks << block.text();
    }
    return blocks.join(u'\n');
}

QString Read(const QString& rtf, QTextDocument& document) {
    ReadRtf(rtf, document);
    return BlockText(document);
}

// The format of the character at `position`.
QTextCharFormat FormatAt(QTextDocument& document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

struct TextCase {
    const char* label;
    const char16_t* rtf;
    const char16_t* text;
};

const TextCase kTextCases[] = {
    {"plain_text", u"{\\rtf1 Hallo}", u"Hallo"},
    {"paragraphs_last_mark_leaves_no_empty_line", u"{\\rtf1\\ansi Zeile 1\\par Zeile 2\\par}",
     u"Zeile 1\nZeile 2"},
    {"empty_paragraph_between", u"{\\rtf1 a\\par\\par b}", u"a\n\nb"},
    {"two_closing_marks_keep_one_empty_line", u"{\\rtf1 a\\par\\par}", u"a\n"},
    {"ansi_escapes", u"{\\rtf1 Gr\\'fc\\'dfe \\'80 \\'84x\\'93}", u"Grüße € „x“"},
    {"unicode_with_fallback", u"{\\rtf1 \\u8364? \\u20320?}", u"€ 你"},
    {"negative_unicode_surrogates", u"{\\rtf1\\u-10179?\\u-8704?}", u"\U0001F600"},
    {"fallback_count_two_skips_escapes", u"{\\rtf1\\uc2\\u8364\\'80\\'80 x}", u"€ x"},
    {"fallback_count_zero", u"{\\rtf1\\uc0\\u8364 x}", u"€x"},
    {"fallback_ends_with_group", u"{\\rtf1{\\uc3\\u8364}ab}", u"€ab"},
    {"fallback_count_is_scoped_to_group", u"{\\rtf1{\\uc0 a}\\u8364?b}", u"a€b"},
    {"tables_and_optional_destinations_skipped",
     u"{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
     u"{\\*\\generator Riched20 10.0;}{\\info{\\title Titel}}{\\stylesheet{\\s0 Normal;}}Text}",
     u"Text"},
    {"unknown_words_skipped_with_parameter_and_delimiter",
     u"{\\rtf1\\viewkind4\\lang1031\\f0\\fs20 Hallo\\foo-12 Welt}", u"HalloWelt"},
    {"control_symbols", u"{\\rtf1 a\\{b\\}c\\\\d\\~e\\_f\\-g}", u"a{b}c\\d\u00A0e\u2011fg"},
    {"line_and_tab", u"{\\rtf1 a\\line b\\tab c}", u"a\u2028b\tc"},
    {"named_symbols", u"{\\rtf1\\bullet\\endash\\emdash\\lquote\\rquote\\ldblquote\\rdblquote}",
     u"•–—‘’“”"},
    {"raw_line_ends_ignored_escaped_ones_break", u"{\\rtf1 a\r\nb\\\nc}", u"ab\nc"},
    {"missing_closing_braces", u"{\\rtf1 {\\b fett", u"fett"},
    {"text_after_the_document_ignored", u"{\\rtf1 a}b", u"a"},
    {"cut_off_escape", u"{\\rtf1 a\\'", u"a"},
    {"cut_off_control", u"{\\rtf1 a\\", u"a"},
    {"binary_data_skipped", u"{\\rtf1 a\\bin3 {}\\b}", u"ab"},
    {"paragraph_inside_skipped_group", u"{\\rtf1{\\*\\foo a\\par b}c}", u"c"},
    {"picture_skipped", u"{\\rtf1 x{\\pict\\pngblip 89504e47}y}", u"xy"},
};

class RtfText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfText, ReadsTheVisibleText) {
    QTextDocument document;
    EXPECT_EQ(Read(QString::fromUtf16(GetParam().rtf), document),
              QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Documents, RtfText, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(RtfReader, DeepNestingIsReadWithoutGrowingWithoutBound) {
    const int depth = 100000;
    const QString rtf = QStringLiteral("{\\rtf1 ") + QString(depth, u'{') + QStringLiteral("x") +
                        QString(depth, u'}') + QStringLiteral("y}");
    QTextDocument document;
    EXPECT_EQ(Read(rtf, document), QStringLiteral("xy"));
}

TEST(RtfReader, ReplacesEarlierContent) {
    QTextDocument document;
    document.setPlainText(QStringLiteral("alt"));
    EXPECT_EQ(Read(QStringLiteral("{\\rtf1 neu}"), document), QStringLiteral("neu"));
}

struct StyleCase {
    int position;
    bool bold, italic, underline, strike;
};

TEST(RtfReader, CharacterStylesSwitchAndGroupsRestoreThem) {
    QTextDocument document;
    ASSERT_EQ(Read(QStringLiteral("{\\rtf1 n{\\b b}\\i i\\i0\\ul u\\ulnone\\strike s\\strike0 "
                                  "\\b1 B\\b0\\uldb d\\ul0 n{\\b\\i\\ul x\\plain p}}"),
                   document),
              QStringLiteral("nbiusBdnxp"));
    const StyleCase cases[] = {
        {0, false, false, false, false}, {1, true, false, false, false},
        {2, false, true, false, false},  {3, false, false, true, false},
        {4, false, false, false, true},  {5, true, false, false, false},
        {6, false, false, true, false},  {7, false, false, false, false},
        {8, true, true, true, false},    {9, false, false, false, false},
    };
    for (const StyleCase& c : cases) {
        const QTextCharFormat format = FormatAt(document, c.position);
        EXPECT_EQ(format.fontWeight() == QFont::Bold, c.bold) << c.position;
        EXPECT_EQ(format.fontItalic(), c.italic) << c.position;
        EXPECT_EQ(format.fontUnderline(), c.underline) << c.position;
        EXPECT_EQ(format.fontStrikeOut(), c.strike) << c.position;
    }
}

TEST(RtfReader, ColoursComeFromTheColourTable) {
    QTextDocument document;
    ASSERT_EQ(
        Read(QStringLiteral("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
                            "\\cf1 r\\cf2 g\\cf0 a\\cf9 z{\\cf1 R}n}"),
             document),
        QStringLiteral("rgazRn"));
    EXPECT_EQ(FormatAt(document, 0).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(FormatAt(document, 1).foreground().color(), QColor(0, 128, 0));
    EXPECT_FALSE(FormatAt(document, 2).hasProperty(QTextFormat::ForegroundBrush)) << "automatic";
    EXPECT_FALSE(FormatAt(document, 3).hasProperty(QTextFormat::ForegroundBrush)) << "no entry";
    EXPECT_EQ(FormatAt(document, 4).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(FormatAt(document, 5).hasProperty(QTextFormat::ForegroundBrush));
}

TEST(RtfReader, AColourTableMayStartWithARealColour) {
    QTextDocument document;
    ASSERT_EQ(Read(QStringLiteral("{\\rtf1{\\colortbl\\red1\\green2\\blue3;;\\red4\\green5\\blue6;}"
                                  "a\\cf1 b\\cf2 c}"),
                   document),
              QStringLiteral("abc"));
    EXPECT_EQ(FormatAt(document, 0).foreground().color(), QColor(1, 2, 3));
    EXPECT_FALSE(FormatAt(document, 1).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(FormatAt(document, 2).foreground().color(), QColor(4, 5, 6));
}

TEST(RtfReader, FontSizesAreHalfPoints) {
    QTextDocument document;
    ASSERT_EQ(Read(QStringLiteral("{\\rtf1\\fs40 g\\fs17 k\\fs0 d}"), document),
              QStringLiteral("gkd"));
    EXPECT_DOUBLE_EQ(FormatAt(document, 0).fontPointSize(), 20.0);
    EXPECT_DOUBLE_EQ(FormatAt(document, 1).fontPointSize(), 8.5);
    EXPECT_FALSE(FormatAt(document, 2).hasProperty(QTextFormat::FontPointSize));
}

TEST(RtfReader, FontsComeFromTheFontTable) {
    QTextDocument document;
    ASSERT_EQ(Read(QStringLiteral("{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                                  "{\\f1\\fnil{\\*\\panose 020b0604}Tahoma{\\*\\falt Verdana};}"
                                  "\\f2 Liberation Sans;}\\f0 a\\f1 b\\f2 c\\f7 d\\f1\\plain e}"),
                   document),
              QStringLiteral("abcde"));
    EXPECT_EQ(FormatAt(document, 0).fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(FormatAt(document, 1).fontFamilies().toStringList(), QStringList{"Tahoma"});
    EXPECT_EQ(FormatAt(document, 2).fontFamilies().toStringList(), QStringList{"Liberation Sans"});
    EXPECT_FALSE(FormatAt(document, 3).hasProperty(QTextFormat::FontFamilies)) << "no entry";
    EXPECT_FALSE(FormatAt(document, 4).hasProperty(QTextFormat::FontFamilies)) << "plain";
}

TEST(RtfReader, ParagraphAlignment) {
    QTextDocument document;
    ASSERT_EQ(Read(QStringLiteral("{\\rtf1\\qc Titel\\par\\pard links\\par\\qr rechts\\par"
                                  "\\qj block\\par}"),
                   document),
              QStringLiteral("Titel\nlinks\nrechts\nblock"));
    const Qt::Alignment expected[] = {Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignRight,
                                      Qt::AlignJustify};
    int index = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++index) {
        ASSERT_LT(index, 4);
        EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, expected[index])
            << index;
    }
}

TEST(IsRtf, RecognisesTheRichTextHeaderOnly) {
    EXPECT_TRUE(IsRtf(QStringLiteral("{\\rtf1\\ansi x}")));
    EXPECT_TRUE(IsRtf(QStringLiteral("{\\rtf")));
    EXPECT_FALSE(IsRtf(QStringLiteral(" {\\rtf1")));
    EXPECT_FALSE(IsRtf(QStringLiteral("{\\RTF1")));
    EXPECT_FALSE(IsRtf(QStringLiteral("Version 1.1")));
    EXPECT_FALSE(IsRtf(QString()));
}

}  // namespace
