#pragma once
// Where the lines of a loaded text lie, without an entry per line: the text is checked as
// UTF-8 and its line ends are counted once, per block of 4 KiB. A line is then found from
// the count before its block, and the breaks are looked for in the bytes themselves. This
// costs about a 500th of the text where a table of line starts would cost several percent.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class TLineIndex {
public:
    // Checks text[begin..] as UTF-8 and indexes its lines: CR, LF and CR LF end a line (LF CR
    // is two breaks), a break at the very end adds no empty line, and the first NUL ends the
    // text (the bytes behind it are checked all the same). False, and no lines, when the
    // bytes are not well-formed UTF-8.
    bool Build(std::string_view text, size_t begin);
    void Clear();

    size_t Count() const { return count_; }
    // The lines lie in [Begin, End): End is the text's first NUL, else its size.
    size_t Begin() const { return begin_; }
    size_t End() const { return end_; }

    // Positions are offsets into the text given to Build, which each call passes again (its
    // bytes before End unchanged; the buffer may have moved since).
    // Where line `index` (below Count) starts.
    size_t Start(std::string_view text, size_t index) const;
    // Where the line that starts at `start` ends: at its break, or at End.
    size_t LineEnd(std::string_view text, size_t start) const;
    // Where the line after the one that starts at `start` begins: behind its break, or one
    // behind End when it has none.
    size_t NextStart(std::string_view text, size_t start) const;
    // The index of the line that holds the byte at `pos` (Begin <= pos < End, not the LF of a
    // CR LF).
    size_t LineAt(std::string_view text, size_t pos) const;
    // The start of the line that holds the byte at `pos`, looked for back to `notBefore` (a
    // line start at or before it).
    size_t StartOfLineAt(std::string_view text, size_t pos, size_t notBefore) const;

private:
    // Where the line behind the break at `at` starts.
    size_t AfterBreak(std::string_view text, size_t at) const;

    static constexpr size_t kBlock = 4096;
    std::vector<uint64_t> endsBefore_;  // entry b: the line ends in [Begin, Begin + b * kBlock)
    size_t begin_ = 0;
    size_t end_ = 0;
    size_t count_ = 0;
};
