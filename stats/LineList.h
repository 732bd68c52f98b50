#pragma once
// An ordered list of text lines, indexed from 0. The lines are kept as checked UTF-8 in one
// buffer with a compact table of line starts (4 bytes and 1 bit a line): a load of millions
// of lines costs a few allocations, and searches for tags run over the bytes of many lines
// at once without decoding them.
#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

#include "Utf8Lines.h"
#include "platform/byte_buffer.h"

class TLineList {
public:
    qsizetype Count() const;
    // The line at `index`; an index outside 0..Count()-1 throws std::out_of_range.
    QString Line(qsizetype index) const;
    // The same line as its UTF-8 bytes.
    std::string_view Utf8Line(qsizetype index) const;
    // The bytes from the start of line `first` to the end of the last line, breaks included;
    // empty when `first` is not below Count().
    std::string_view Utf8Span(qsizetype first) const;
    // The index of the line that holds the byte `at` of a span, searching from line `from`
    // on (which must start at or before `at`).
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
    size_t Start(size_t index) const { return static_cast<size_t>(lines_.starts[index]); }
    size_t End(size_t index) const;
    void CheckIndex(qsizetype index) const;

    platform::TByteBuffer text_;
    TCutLines lines_;
};
