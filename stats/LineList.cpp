#include "LineList.h"

#include <algorithm>
#include <stdexcept>

#include "platform/host_file.h"

qsizetype TLineList::Count() const {
    // The table holds one more start than lines: where a next line would begin.
    return lines_.starts.Empty() ? 0 : static_cast<qsizetype>(lines_.starts.Size() - 1);
}

size_t TLineList::End(size_t index) const {
    return Start(index + 1) - (lines_.crLfBreaks[index] ? 2 : 1);
}

void TLineList::CheckIndex(qsizetype index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("line index out of range");
}

std::string_view TLineList::Utf8Line(qsizetype index) const {
    CheckIndex(index);
    const auto i = static_cast<size_t>(index);
    return text_.View().substr(Start(i), End(i) - Start(i));
}

std::string_view TLineList::Utf8Span(qsizetype first) const {
    if (first < 0 || first >= Count()) return {};
    const size_t begin = Start(static_cast<size_t>(first));
    return text_.View().substr(begin, End(static_cast<size_t>(Count() - 1)) - begin);
}

qsizetype TLineList::LineOf(const char* at, qsizetype from) const {
    const auto offset = static_cast<uint64_t>(at - text_.Data());
    return static_cast<qsizetype>(lines_.starts.LastAtOrBelow(offset, static_cast<size_t>(from)));
}

QString TLineList::Line(qsizetype index) const {
    std::string_view line = Utf8Line(index);
    // fromUtf8 drops a leading byte-order mark; inside the text it is a character.
    QString text;
    if (line.substr(0, 3) == "\xEF\xBB\xBF") {
        text = QChar(0xFEFF);
        line.remove_prefix(3);
    }
    return text + QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

namespace {

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

// The new line starts where the table says a next line would begin. When the last line has
// no break of its own (the text ended without one, or at a NUL), an LF is written for it.
void TLineList::Append(QStringView line) {
    const QByteArray utf8 = line.toUtf8();
    if (Count() == 0) {
        Clear();
        lines_.starts.Push(0);
    } else {
        const auto start = static_cast<size_t>(lines_.starts.Back());
        if (start <= text_.Size() && IsBreak(text_.Data()[start - 1])) {
            text_.Resize(start);
        } else {
            text_.Resize(start - 1);
            text_.Append("\n");
        }
    }
    text_.Append(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    lines_.crLfBreaks.Push(false);
    lines_.starts.Push(text_.Size() + 1);
}

void TLineList::Clear() {
    text_.Clear();
    lines_.starts.Clear();
    lines_.crLfBreaks.Clear();
}

void TLineList::LoadFromUtf8(std::string_view bytes) {
    platform::TByteBuffer copy;
    copy.Append(bytes);
    TakeText(std::move(copy), 0);
}

void TLineList::LoadFromUtf8(platform::TByteBuffer bytes, size_t from) {
    const size_t start = std::min(from, bytes.Size());
    TakeText(std::move(bytes), start);
}

void TLineList::LoadFromFile(const QString& path) {
    TakeText(platform::ReadWholeFile(path.toStdString()), 0);
}

void TLineList::TakeText(platform::TByteBuffer bytes, size_t from) {
    std::string_view text = bytes.View().substr(from);
    size_t base = from;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
        base += 3;
    }
    Clear();
    if (!CheckAndCutUtf8(text, base, lines_)) {
        Clear();
        return;
    }
    text_ = std::move(bytes);
}
