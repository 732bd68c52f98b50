#include "LineList.h"

#include <QStringDecoder>
#include <stdexcept>

#include "platform/host_file.h"

QStringView TLineList::Line(qsizetype index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("line index out of range");
    const Span& s = spans_[static_cast<size_t>(index)];
    return QStringView(text_).mid(s.start, s.length);
}

void TLineList::Append(QStringView line) {
    spans_.push_back({text_.size(), line.size()});
    text_.append(line);
}

void TLineList::Clear() {
    text_.clear();
    spans_.clear();
}

void TLineList::LoadFromUtf8(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    // The first mark is gone already; a second one is text.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError()) text.clear();
    Clear();
    text_ = std::move(text);
    SplitText();
}

void TLineList::LoadFromFile(const QString& path) {
    const std::string bytes = platform::ReadWholeFile(path.toStdString());
    LoadFromUtf8(bytes);
}

void TLineList::SplitText() {
    // A NUL ends the text: the line it stands in keeps what precedes it.
    const qsizetype nul = text_.indexOf(QChar(0));
    if (nul >= 0) text_.truncate(nul);

    const char16_t* data = reinterpret_cast<const char16_t*>(text_.constData());
    const qsizetype n = text_.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = data[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        spans_.push_back({start, i - start});
        ++i;
        if (c == u'\r' && i < n && data[i] == u'\n') ++i;
        start = i;
    }
    if (start < n) spans_.push_back({start, n - start});
}
