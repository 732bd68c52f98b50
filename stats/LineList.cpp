#include "LineList.h"

#include <algorithm>
#include <stdexcept>

#include "platform/host_file.h"

QString LineText(std::string_view utf8) {
    // fromUtf8 drops a leading byte-order mark; inside the text it is a character.
    QString text;
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") {
        text = QChar(0xFEFF);
        utf8.remove_prefix(3);
    }
    return text + QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

qsizetype TLineList::Count() const { return static_cast<qsizetype>(LoadedCount() + appendedStarts_.size()); }

void TLineList::CheckIndex(qsizetype index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("line index out of range");
}

size_t TLineList::Start(size_t index) const {
    if (index >= LoadedCount()) return appendedStarts_[index - LoadedCount()];
    if (index != hintIndex_) {
        hintStart_ = hintIndex_ != kNoHint && index == hintIndex_ + 1 ? loaded_.NextStart(text_.View(), hintStart_)
                                                                     : loaded_.Start(text_.View(), index);
        hintIndex_ = index;
    }
    return hintStart_;
}

// An appended line ends one byte before the next one starts (at the LF written between
// them), the last one at the end of the text.
size_t TLineList::End(size_t index) const {
    if (index < LoadedCount()) return loaded_.LineEnd(text_.View(), Start(index));
    const size_t next = index + 1 - LoadedCount();
    return next < appendedStarts_.size() ? appendedStarts_[next] - 1 : text_.Size();
}

std::string_view TLineList::Utf8Line(qsizetype index) const {
    CheckIndex(index);
    const auto i = static_cast<size_t>(index);
    const size_t start = Start(i);
    return text_.View().substr(start, End(i) - start);
}

QString TLineList::Line(qsizetype index) const { return LineText(Utf8Line(index)); }

std::string_view TLineList::Utf8Span(qsizetype first) const {
    if (first < 0 || first >= Count()) return {};
    const size_t begin = Start(static_cast<size_t>(first));
    const size_t end = appendedStarts_.empty() ? loadedLinesEnd_ : text_.Size();
    return text_.View().substr(begin, end - begin);
}

qsizetype TLineList::LineOf(const char* at, qsizetype from) const {
    const auto offset = static_cast<size_t>(at - text_.View().data());
    if (!appendedStarts_.empty() && offset >= appendedStarts_.front()) {
        const auto after = std::upper_bound(appendedStarts_.begin(), appendedStarts_.end(), offset);
        return static_cast<qsizetype>(LoadedCount() + static_cast<size_t>(after - appendedStarts_.begin()) - 1);
    }
    const size_t fromStart = Start(static_cast<size_t>(from));
    hintStart_ = loaded_.StartOfLineAt(text_.View(), offset, fromStart);
    hintIndex_ = loaded_.LineAt(text_.View(), offset);
    return static_cast<qsizetype>(hintIndex_);
}

// The new line starts behind the last line's break. When the last line has no break of its
// own (the text ended without one, or at a NUL), an LF is written for it.
void TLineList::Append(QStringView line) {
    const QByteArray utf8 = line.toUtf8();
    if (Count() == 0) {
        Clear();
    } else {
        const size_t lastEnd = End(static_cast<size_t>(Count() - 1));
        // A loaded line that ends before the end of the loaded text ends at a break.
        if (appendedStarts_.empty() && lastEnd < loaded_.End()) {
            text_.Resize(loaded_.NextStart(text_.View(), Start(LoadedCount() - 1)));
        } else {
            text_.Resize(lastEnd);
            text_.Append("\n");
        }
    }
    appendedStarts_.push_back(text_.Size());
    text_.Append(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

void TLineList::Clear() {
    text_.Clear();
    loaded_.Clear();
    appendedStarts_.clear();
    loadedLinesEnd_ = 0;
    hintIndex_ = kNoHint;
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
    size_t begin = from;
    if (bytes.View().substr(from, 3) == "\xEF\xBB\xBF") begin += 3;
    Clear();
    if (!loaded_.Build(bytes.View(), begin)) return;
    text_ = std::move(bytes);
    if (LoadedCount() > 0) loadedLinesEnd_ = loaded_.LineEnd(text_.View(), loaded_.Start(text_.View(), LoadedCount() - 1));
}
