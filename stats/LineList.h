#pragma once
// An ordered list of text lines, indexed from 0. The lines are kept as checked UTF-8 in one
// buffer: the lines of a load are found through a line index (a count of line ends per
// block, no entry per line), the lines appended after it through their starts. A load of
// millions of lines costs a few allocations, and searches for tags run over the bytes of
// many lines at once without decoding them. The list remembers the line it read last, so
// one list is read from one thread at a time.
#include <QString>
#include <QStringView>
#include <string_view>
#include <vector>

#include "LineIndex.h"
#include "platform/byte_buffer.h"

// The text of a line from its UTF-8 bytes. A leading byte-order mark stays a character.
QString LineText(std::string_view utf8);

class TLineList {
public:
    qsizetype Count() const;
    // The line at `index`; an index outside 0..Count()-1 throws std::out_of_range.
    QString Line(qsizetype index) const;
    // The same line as its UTF-8 bytes. Reading the lines in order, or the line after the one
    // read last, costs no more than the line itself.
    std::string_view Utf8Line(qsizetype index) const;
    // The bytes from the start of line `first` to the end of the last line, breaks included;
    // empty when `first` is not below Count().
    std::string_view Utf8Span(qsizetype first) const;
    // The index of the line that holds the byte `at` of a span (not a break), searching from
    // line `from` on (which must start at or before `at`).
    qsizetype LineOf(const char* at, qsizetype from) const;
    void Append(QStringView line);
    void Clear();

    // Replaces the content by the lines of `bytes` read as UTF-8: a leading EF BB BF is
    // skipped; bytes that are not well-formed UTF-8 anywhere give an empty list; CR, LF and
    // CR LF end a line; a break at the very end adds no empty line; a NUL ends the text.
    void LoadFromUtf8(std::string_view bytes);
    // The same for the bytes of `bytes` from `from` on; the buffer is taken over, not copied.
    void LoadFromUtf8(platform::TByteBuffer bytes, size_t from);
    // The same for the whole file at `path`. When the file cannot be read, throws
    // platform::HostError ("Datei %s kann nicht geöffnet werden. %s") and keeps the content.
    void LoadFromFile(const QString& path);

private:
    // Takes `bytes` as the text when they are well-formed.
    void TakeText(platform::TByteBuffer bytes, size_t from);
    size_t LoadedCount() const { return loaded_.Count(); }
    size_t Start(size_t index) const;
    size_t End(size_t index) const;
    void CheckIndex(qsizetype index) const;

    platform::TByteBuffer text_;
    TLineIndex loaded_;                  // the lines of the last load
    std::vector<size_t> appendedStarts_;  // where each line appended since starts
    size_t loadedLinesEnd_ = 0;          // where the last line of the load ends
    // The line looked up last and where it starts: reading on from it needs no search.
    static constexpr size_t kNoHint = SIZE_MAX;
    mutable size_t hintIndex_ = kNoHint;
    mutable size_t hintStart_ = 0;
};
