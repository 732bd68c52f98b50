#include "rtf_reader.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "platform/codepage.h"

namespace {

// Deeper nesting than this is counted, not stored: no history needs it, and it keeps damaged
// input from growing the group stack without bound.
constexpr size_t kMaxGroupDepth = 256;
constexpr long long kMaxParameter = 1'000'000'000;

enum class Destination { Text, FontTable, ColorTable, Skip };

struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int color = 0;       // index into the colour table; an entry without components is automatic
    int halfPoints = 0;  // font size in half points; 0 keeps the default size
    int font = -1;       // number in the font table; -1 keeps the default font
    bool operator==(const CharState&) const = default;
};

struct GroupState {
    CharState chars;
    Qt::Alignment alignment = Qt::AlignLeft;
    int unicodeSkip = 1;  // fallback characters that follow a \uN
    Destination destination = Destination::Text;
};

bool IsAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int HexValue(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    return -1;
}

// Groups whose content is not text of the document.
bool IsSkippedDestination(std::u16string_view word) {
    static constexpr std::array<std::u16string_view, 28> kSkipped = {u"falt",
                                                                     u"stylesheet",
                                                                     u"info",
                                                                     u"pict",
                                                                     u"object",
                                                                     u"header",
                                                                     u"headerl",
                                                                     u"headerr",
                                                                     u"headerf",
                                                                     u"footer",
                                                                     u"footerl",
                                                                     u"footerr",
                                                                     u"footerf",
                                                                     u"footnote",
                                                                     u"annotation",
                                                                     u"themedata",
                                                                     u"datastore",
                                                                     u"listtable",
                                                                     u"listoverridetable",
                                                                     u"rsidtbl",
                                                                     u"generator",
                                                                     u"xmlnstbl",
                                                                     u"latentstyles",
                                                                     u"colorschememapping",
                                                                     u"filetbl",
                                                                     u"revtbl",
                                                                     u"fldinst",
                                                                     u"panose"};
    return std::find(kSkipped.begin(), kSkipped.end(), word) != kSkipped.end();
}

// Control words that stand for one character.
char16_t SymbolFor(std::u16string_view word) {
    struct Symbol {
        std::u16string_view word;
        char16_t ch;
    };
    static constexpr std::array<Symbol, 11> kSymbols = {{{u"line", 0x2028},
                                                         {u"tab", u'\t'},
                                                         {u"emdash", 0x2014},
                                                         {u"endash", 0x2013},
                                                         {u"emspace", 0x2003},
                                                         {u"enspace", 0x2002},
                                                         {u"bullet", 0x2022},
                                                         {u"lquote", 0x2018},
                                                         {u"rquote", 0x2019},
                                                         {u"ldblquote", 0x201C},
                                                         {u"rdblquote", 0x201D}}};
    for (const Symbol& symbol : kSymbols) {
        if (symbol.word == word) return symbol.ch;
    }
    return 0;
}

class RtfReader {
public:
    RtfReader(const QString& rtf, QTextDocument& document)
        : rtf_(rtf), document_(document), cursor_(&document) {
        stack_.emplace_back();
    }

    void Run() {
        while (pos_ < rtf_.size() && !finished_) {
            const QChar c = rtf_[pos_++];
            if (c == u'{') {
                OpenGroup();
            } else if (c == u'}') {
                CloseGroup();
            } else if (c == u'\\') {
                ReadControl();
            } else if (c != u'\r' && c != u'\n') {
                Character(c.unicode());
            }
        }
        if (!finished_) FinishDocument();
    }

private:
    GroupState& Group() { return stack_.back(); }

    void OpenGroup() {
        pendingSkip_ = 0;
        if (stack_.size() >= kMaxGroupDepth) {
            ++overflowDepth_;
            return;
        }
        stack_.push_back(stack_.back());
    }

    void CloseGroup() {
        pendingSkip_ = 0;
        if (overflowDepth_ > 0) {
            --overflowDepth_;
            return;
        }
        if (stack_.size() <= 1) return;
        if (stack_.size() == 2) {
            // The document's own group ends here; whatever follows is not part of it.
            FinishDocument();
            return;
        }
        stack_.pop_back();
    }

    // Consumes one fallback character of a \uN when some are due.
    bool SkipFallback() {
        if (pendingSkip_ == 0) return false;
        --pendingSkip_;
        return true;
    }

    void ReadControl() {
        if (pos_ >= rtf_.size()) return;
        const QChar c = rtf_[pos_];
        if (IsAsciiLetter(c)) {
            ReadControlWord();
            return;
        }
        ++pos_;
        if (c == u'\'') {
            int value = -1;
            if (pos_ + 1 < rtf_.size()) {
                const int high = HexValue(rtf_[pos_]);
                const int low = HexValue(rtf_[pos_ + 1]);
                if (high >= 0 && low >= 0) value = high * 16 + low;
            }
            if (value < 0) return;
            pos_ += 2;
            Character(platform::Cp1252ToUnicode(static_cast<uint8_t>(value)));
        } else if (c == u'*') {
            // An optional destination: this reader knows none of them.
            Group().destination = Destination::Skip;
        } else if (c == u'\\' || c == u'{' || c == u'}') {
            Character(c.unicode());
        } else if (c == u'~') {
            Character(0x00A0);
        } else if (c == u'_') {
            Character(0x2011);
        } else if (c == u'\r' || c == u'\n') {
            if (!SkipFallback() && Group().destination == Destination::Text) EndParagraph();
        } else {
            SkipFallback();  // optional hyphen, index marks and the like show nothing
        }
    }

    void ReadControlWord() {
        const qsizetype start = pos_;
        while (pos_ < rtf_.size() && IsAsciiLetter(rtf_[pos_])) ++pos_;
        const std::u16string_view word(reinterpret_cast<const char16_t*>(rtf_.constData()) + start,
                                       static_cast<size_t>(pos_ - start));
        bool negative = false;
        if (pos_ + 1 < rtf_.size() && rtf_[pos_] == u'-' && IsAsciiDigit(rtf_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        bool hasParameter = false;
        long long parameter = 0;
        while (pos_ < rtf_.size() && IsAsciiDigit(rtf_[pos_])) {
            hasParameter = true;
            parameter = std::min(parameter * 10 + (rtf_[pos_].unicode() - u'0'), kMaxParameter);
            ++pos_;
        }
        if (negative) parameter = -parameter;
        if (pos_ < rtf_.size() && rtf_[pos_] == u' ') ++pos_;  // the delimiter belongs to the word

        if (word == u"bin") {
            // Raw binary data of the given length follows.
            pos_ += std::min<qsizetype>(std::max<long long>(parameter, 0), rtf_.size() - pos_);
            return;
        }
        if (SkipFallback()) return;
        ControlWord(word, hasParameter, static_cast<int>(parameter));
    }

    void ControlWord(std::u16string_view word, bool hasParameter, int parameter) {
        GroupState& group = Group();
        if (group.destination == Destination::Skip) return;
        if (group.destination == Destination::ColorTable) {
            const int component = std::clamp(parameter, 0, 255);
            if (word == u"red") colorEntry_.setRed(component);
            if (word == u"green") colorEntry_.setGreen(component);
            if (word == u"blue") colorEntry_.setBlue(component);
            colorEntryGiven_ =
                colorEntryGiven_ || word == u"red" || word == u"green" || word == u"blue";
            return;
        }
        if (group.destination == Destination::FontTable) {
            if (word == u"f") fontNumber_ = parameter;
            return;
        }
        if (IsSkippedDestination(word)) {
            group.destination = Destination::Skip;
            return;
        }
        const bool on = !hasParameter || parameter != 0;
        CharState& chars = group.chars;
        if (word == u"fonttbl") {
            group.destination = Destination::FontTable;
            fonts_.clear();
            fontName_.clear();
        } else if (word == u"colortbl") {
            group.destination = Destination::ColorTable;
            colors_.clear();
            StartColorEntry();
        } else if (word == u"par" || word == u"sect" || word == u"page") {
            EndParagraph();
        } else if (word == u"pard") {
            group.alignment = Qt::AlignLeft;
        } else if (word == u"plain") {
            chars = CharState{};
        } else if (word == u"b") {
            chars.bold = on;
        } else if (word == u"i") {
            chars.italic = on;
        } else if (word == u"strike") {
            chars.strike = on;
        } else if (word == u"ul" || word == u"uld" || word == u"uldb" || word == u"uldash" ||
                   word == u"ulth" || word == u"ulw" || word == u"ulwave") {
            chars.underline = on;
        } else if (word == u"ulnone") {
            chars.underline = false;
        } else if (word == u"cf") {
            chars.color = std::max(parameter, 0);
        } else if (word == u"f") {
            chars.font = parameter;
        } else if (word == u"fs") {
            chars.halfPoints = std::max(parameter, 0);
        } else if (word == u"ql") {
            group.alignment = Qt::AlignLeft;
        } else if (word == u"qc") {
            group.alignment = Qt::AlignHCenter;
        } else if (word == u"qr") {
            group.alignment = Qt::AlignRight;
        } else if (word == u"qj") {
            group.alignment = Qt::AlignJustify;
        } else if (word == u"uc") {
            group.unicodeSkip = std::max(parameter, 0);
        } else if (word == u"u") {
            // A signed 16-bit value; the characters that follow stand in for readers without
            // Unicode and are skipped.
            Character(static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter));
            pendingSkip_ = group.unicodeSkip;
        } else if (const char16_t symbol = SymbolFor(word)) {
            Character(symbol);
        }
    }

    void StartColorEntry() {
        colorEntry_ = QColor(0, 0, 0);
        colorEntryGiven_ = false;
    }

    void Character(char16_t ch) {
        if (SkipFallback()) return;
        switch (Group().destination) {
            case Destination::Skip:
                return;
            case Destination::FontTable:
                if (ch == u';') {
                    fonts_[fontNumber_] = fontName_.trimmed();
                    fontName_.clear();
                } else {
                    fontName_ += QChar(ch);
                }
                return;
            case Destination::ColorTable:
                if (ch == u';') {
                    // An entry without components is the automatic colour.
                    colors_.append(colorEntryGiven_ ? colorEntry_ : QColor());
                    StartColorEntry();
                }
                return;
            case Destination::Text:
                break;
        }
        if (!(Group().chars == pendingFormat_)) {
            Flush();
            pendingFormat_ = Group().chars;
        }
        pending_ += QChar(ch);
    }

    QTextCharFormat FormatFor(const CharState& chars) const {
        QTextCharFormat format;
        format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(chars.italic);
        format.setFontUnderline(chars.underline);
        format.setFontStrikeOut(chars.strike);
        if (chars.color < colors_.size() && colors_[chars.color].isValid()) {
            format.setForeground(colors_[chars.color]);
        }
        if (chars.halfPoints > 0) format.setFontPointSize(chars.halfPoints / 2.0);
        const auto font = fonts_.constFind(chars.font);
        if (font != fonts_.cend() && !font->isEmpty()) format.setFontFamilies({*font});
        return format;
    }

    void Flush() {
        if (pending_.isEmpty()) return;
        cursor_.insertText(pending_, FormatFor(pendingFormat_));
        pending_.clear();
    }

    void ApplyAlignment() {
        QTextBlockFormat block = cursor_.blockFormat();
        block.setAlignment(Group().alignment);
        cursor_.setBlockFormat(block);
    }

    void EndParagraph() {
        Flush();
        ApplyAlignment();
        cursor_.insertBlock();
    }

    void FinishDocument() {
        Flush();
        ApplyAlignment();
        finished_ = true;
        // The closing paragraph mark of the last paragraph leaves no empty line behind.
        if (document_.blockCount() > 1 && document_.lastBlock().length() <= 1) {
            cursor_.movePosition(QTextCursor::End);
            cursor_.deletePreviousChar();
        }
    }

    const QString& rtf_;
    QTextDocument& document_;
    QTextCursor cursor_;
    qsizetype pos_ = 0;
    bool finished_ = false;
    std::vector<GroupState> stack_;
    size_t overflowDepth_ = 0;
    int pendingSkip_ = 0;
    QMap<int, QString> fonts_;
    int fontNumber_ = 0;
    QString fontName_;
    QList<QColor> colors_;
    QColor colorEntry_;
    bool colorEntryGiven_ = false;
    QString pending_;
    CharState pendingFormat_;
};

}  // namespace

bool IsRtf(const QString& text) { return text.startsWith(QLatin1String("{\\rtf")); }

void ReadRtf(const QString& rtf, QTextDocument& document) {
    document.clear();
    RtfReader reader(rtf, document);
    reader.Run();
}
