#pragma once
// One pass over UTF-8 bytes that checks them and finds the line breaks, so that a pocket
// query of hundreds of megabytes is cut into lines at memory speed.
#include <QtGlobal>
#include <string_view>
#include <vector>

struct TLineSpan {
    qsizetype start;
    qsizetype length;
};

// Records the lines of `bytes` (without a byte-order mark) in `spans`: CR, LF and CR LF end a
// line, a break at the very end adds no empty line, and a NUL ends the text. Returns the
// length of the text (the position of the first NUL, else the size), or -1 with `spans`
// emptied when the bytes are not well-formed UTF-8 anywhere (also after a NUL): an invalid,
// overlong or truncated sequence or an encoded surrogate.
qsizetype SplitUtf8Lines(std::string_view bytes, std::vector<TLineSpan>& spans);
