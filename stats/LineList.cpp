#include "LineList.h"

#include <algorithm>
#include <stdexcept>

#include "platform/host_file.h"

std::string_view TLineList::Utf8Line(qsizetype index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("line index out of range");
    const TLineSpan& s = spans_[static_cast<size_t>(index)];
    return text_.View().substr(static_cast<size_t>(s.start), static_cast<size_t>(s.length));
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

void TLineList::Append(QStringView line) {
    const QByteArray utf8 = line.toUtf8();
    spans_.push_back({static_cast<qsizetype>(text_.Size()), utf8.size()});
    text_.Append(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

void TLineList::Clear() {
    text_.Clear();
    spans_.clear();
    spans_.shrink_to_fit();
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
    size_t skip = from;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
        skip += 3;
    }
    Clear();
    const qsizetype length = SplitUtf8Lines(text, spans_);
    if (length < 0) return;
    // Line positions count from the start of the text, after a skipped mark.
    if (skip > 0) {
        for (TLineSpan& span : spans_) span.start += static_cast<qsizetype>(skip);
    }
    text_ = std::move(bytes);
}
