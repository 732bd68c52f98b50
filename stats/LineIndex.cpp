#include "LineIndex.h"

#include <algorithm>
#include <cstring>

#include "ByteSearch.h"
#include "Utf8Check.h"

namespace {

// The text is read in pieces of this size, so that a piece is counted and checked while it
// is in the processor's cache; a whole number of blocks. (A second thread checking half of
// the text was tried: the first reading of a mapped file's pages did not get faster with it.)
constexpr size_t kPiece = 256 * 1024;

bool IsCr(std::string_view text, size_t at) { return text[at] == '\r'; }

}  // namespace

void TLineIndex::Clear() {
    endsBefore_.clear();
    begin_ = end_ = count_ = 0;
}

bool TLineIndex::Build(std::string_view text, size_t begin) {
    Clear();
    const std::string_view body = text.substr(begin);
    size_t checked = 0;
    size_t end = body.size();
    bool endFound = false;
    uint64_t ends = 0;
    endsBefore_.push_back(0);
    for (size_t from = 0; from < body.size(); from += kPiece) {
        const size_t to = std::min(body.size(), from + kPiece);
        // Checked up to the start of a sequence near the piece's end.
        const size_t checkTo = Utf8PieceEnd(body, checked, to - checked);
        if (!CheckUtf8(body.substr(checked, checkTo - checked))) {
            Clear();
            return false;
        }
        checked = checkTo;
        // Behind the first NUL the bytes are only checked.
        if (endFound) continue;
        if (const void* nul = std::memchr(body.data() + from, 0, to - from)) {
            end = static_cast<size_t>(static_cast<const char*>(nul) - body.data());
            endFound = true;
        }
        for (size_t block = from; block < std::min(to, end); block += kBlock) {
            const size_t blockEnd = std::min({block + kBlock, to, end});
            ends += CountLineEnds(body.substr(block, blockEnd - block), block > 0 && IsCr(body, block - 1));
            endsBefore_.push_back(ends);
        }
    }
    if (checked < body.size() && !CheckUtf8(body.substr(checked))) {
        Clear();
        return false;
    }

    begin_ = begin;
    end_ = begin + end;
    const size_t lastBreak = FindLastLineBreak(body.substr(0, end));
    const size_t lastStart = lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
    count_ = static_cast<size_t>(ends) + (lastStart < end ? 1 : 0);
    return true;
}

size_t TLineIndex::AfterBreak(std::string_view text, size_t at) const {
    return at + (IsCr(text, at) && at + 1 < end_ && text[at + 1] == '\n' ? 2 : 1);
}

size_t TLineIndex::Start(std::string_view text, size_t index) const {
    if (index == 0) return begin_;
    // The block that holds the index-th line end: the last whose count before it is lower.
    const auto after = std::lower_bound(endsBefore_.begin(), endsBefore_.end(), uint64_t{index});
    const auto block = static_cast<size_t>(after - endsBefore_.begin()) - 1;
    uint64_t seen = endsBefore_[block];
    for (size_t pos = begin_ + block * kBlock; pos < end_;) {
        const size_t at = pos + FindLineBreak(text.substr(pos, end_ - pos));
        if (at >= end_) break;
        // The LF of a CR LF is no line end of its own.
        const bool isEnd = IsCr(text, at) || at == begin_ || !IsCr(text, at - 1);
        if (isEnd && ++seen == index) return AfterBreak(text, at);
        pos = at + 1;
    }
    return end_ + 1;  // not reached for an index below Count
}

size_t TLineIndex::LineEnd(std::string_view text, size_t start) const {
    return start + FindLineBreak(text.substr(start, end_ - start));
}

size_t TLineIndex::NextStart(std::string_view text, size_t start) const {
    const size_t end = LineEnd(text, start);
    return end == end_ ? end_ + 1 : AfterBreak(text, end);
}

size_t TLineIndex::LineAt(std::string_view text, size_t pos) const {
    const size_t block = (pos - begin_) / kBlock;
    const size_t blockStart = begin_ + block * kBlock;
    return static_cast<size_t>(endsBefore_[block] + CountLineEnds(text.substr(blockStart, pos - blockStart),
                                                                  blockStart > begin_ && IsCr(text, blockStart - 1)));
}

size_t TLineIndex::StartOfLineAt(std::string_view text, size_t pos, size_t notBefore) const {
    const size_t lastBreak = FindLastLineBreak(text.substr(notBefore, pos - notBefore));
    return lastBreak == std::string_view::npos ? notBefore : notBefore + lastBreak + 1;
}
