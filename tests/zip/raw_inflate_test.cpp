// The entry's deflate data inflated raw, against the same data read by zlib as a zlib stream
// behind the header 0x78 0x01: the same return codes, input use and output call by call, so
// the extraction writes, reports and fails exactly as it did with the wrapped stream.
#include "zip/ZARawInflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "fixtures/ZipBuilder.h"

namespace {

// One inflate call as the extraction sees it.
struct Call {
    int rc;
    uInt availIn;
    uLong totalOut;
    bool operator==(const Call&) const = default;
};

struct Outcome {
    std::vector<Call> calls;
    std::string output;
    bool failed = false;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << o.calls.size() << " calls, " << o.output.size() << " bytes out, " << (o.failed ? "failed" : "ok");
    if (!o.calls.empty()) *os << ", last rc " << o.calls.back().rc << " in " << o.calls.back().availIn;
}

// The zlib stream the extraction used to read: the synthetic header in front of the data.
class WrappedInflate {
public:
    WrappedInflate() { EXPECT_EQ(inflateInit(&zs_), Z_OK); }
    ~WrappedInflate() { inflateEnd(&zs_); }
    z_stream& Stream() { return zs_; }
    int Inflate() { return inflate(&zs_, Z_NO_FLUSH); }
    static std::string FirstChunk(const std::string& chunk) { return std::string("\x78\x01", 2) + chunk; }

private:
    z_stream zs_{};
};

class RawInflate {
public:
    RawInflate() { EXPECT_TRUE(raw_.Init()); }
    z_stream& Stream() { return raw_.Stream(); }
    int Inflate() { return raw_.Inflate(); }
    static std::string FirstChunk(const std::string& chunk) { return chunk; }

private:
    TZARawInflate raw_;
};

// The extraction's chunk loop: input in chunks of `chunkSize`, output into a buffer of
// `outSize`, one inflate call after another until the chunk's input is used up, the output
// has room left, the stream ends, or an error other than a plain lack of input comes.
template <class Inflater>
Outcome Drive(const std::string& data, size_t chunkSize, size_t outSize) {
    Inflater inflater;
    z_stream& zs = inflater.Stream();
    Outcome outcome;
    std::string out(outSize, '\0');
    for (size_t consumed = 0; consumed < data.size(); consumed += chunkSize) {
        std::string chunk = data.substr(consumed, chunkSize);
        if (consumed == 0) chunk = Inflater::FirstChunk(chunk);
        zs.next_in = reinterpret_cast<Bytef*>(chunk.data());
        zs.avail_in = static_cast<uInt>(chunk.size());
        zs.next_out = reinterpret_cast<Bytef*>(out.data());
        zs.avail_out = static_cast<uInt>(outSize);
        uLong mark = zs.total_out;
        for (;;) {
            const int rc = inflater.Inflate();
            outcome.calls.push_back({rc, zs.avail_in, zs.total_out});
            if (rc < 0) {
                if (zs.avail_in == 0 && rc == Z_BUF_ERROR) break;
                outcome.failed = true;
                return outcome;
            }
            outcome.output.append(out.data(), zs.total_out - mark);
            if ((zs.avail_out > 0 && zs.avail_in == 0) || rc == Z_STREAM_END) break;
            zs.next_out = reinterpret_cast<Bytef*>(out.data());
            zs.avail_out = static_cast<uInt>(outSize);
            mark = zs.total_out;
        }
    }
    return outcome;
}

std::string Noise(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

std::string Text(size_t size) {
    std::string s;
    for (int i = 0; s.size() < size; ++i) s += "<groundspeak:date>2016-03-0" + std::to_string(i % 10) + "</groundspeak:date>\r\n";
    s.resize(size);
    return s;
}

std::string StoredBlocks(const std::string& data) {
    z_stream zs{};
    EXPECT_EQ(deflateInit2(&zs, 0, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&zs, static_cast<uLong>(data.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

struct Fixture {
    std::string name;
    std::string data;  // raw deflate data as an entry holds it
};

std::vector<Fixture> Fixtures() {
    const std::string text = Text(200000);
    const std::string noise = Noise(70000, 7);
    std::vector<Fixture> sound = {
        {"empty", zipfix::Deflate("")},
        {"one byte", zipfix::Deflate("!")},
        {"text", zipfix::Deflate(text)},
        {"noise", zipfix::Deflate(noise)},
        {"stored blocks", StoredBlocks(noise)},
    };
    std::vector<Fixture> all = sound;
    for (const Fixture& f : sound) {
        const std::string& d = f.data;
        for (size_t cut : {size_t{1}, size_t{2}, size_t{5}, d.size() / 2}) {
            if (cut < d.size()) all.push_back({f.name + ", cut by " + std::to_string(cut), d.substr(0, d.size() - cut)});
        }
        for (size_t extra : {1, 2, 3, 4, 5, 9, 5000}) {
            all.push_back({f.name + ", " + std::to_string(extra) + " bytes behind", d + Noise(extra, static_cast<unsigned>(extra))});
        }
        for (size_t at : {size_t{0}, d.size() / 3, d.size() - 1}) {
            std::string flipped = d;
            flipped[at] = static_cast<char>(flipped[at] ^ 0x5A);
            all.push_back({f.name + ", byte " + std::to_string(at) + " changed", flipped});
        }
    }
    all.push_back({"noise only", Noise(5000, 3)});
    return all;
}

TEST(RawInflate, BehavesAsTheWrappedStreamCallByCall) {
    for (const Fixture& f : Fixtures()) {
        // The extraction's own sizes, and small ones that end chunks and fill the output at
        // every kind of place, including an output buffer exactly as big as the whole output.
        const size_t whole = std::max<size_t>(Drive<WrappedInflate>(f.data, 1 << 20, 1 << 20).output.size(), 1);
        const bool small = f.data.size() < 2000;
        for (size_t chunk : {size_t{1} << 20, size_t{4096}, size_t{7}, size_t{1}}) {
            for (size_t out : {size_t{1} << 20, whole, whole - 1, size_t{258}, size_t{1}}) {
                if ((!small && (chunk == 1 || out == 1)) || out == 0) continue;  // keeps the call count sane
                const Outcome wrapped = Drive<WrappedInflate>(f.data, chunk, out);
                const Outcome raw = Drive<RawInflate>(f.data, chunk, out);
                ASSERT_EQ(raw, wrapped) << f.name << ", chunks of " << chunk << ", output buffer " << out;
            }
        }
    }
}

// The sound fixtures come out whole, the damaged ones fail: the comparison above compares
// streams that both succeed and both fail. Bytes behind the data fail the call that reaches
// them, so that call's output is never handed on.
TEST(RawInflate, SoundDataInflatesAndDamagedDataFails) {
    const std::string text = Text(300000);
    const Outcome sound = Drive<RawInflate>(zipfix::Deflate(text), 1 << 20, 1 << 20);
    EXPECT_FALSE(sound.failed);
    EXPECT_EQ(sound.output, text);
    const Outcome behind = Drive<RawInflate>(zipfix::Deflate(text) + "abcd", 1 << 20, 1 << 20);
    EXPECT_TRUE(behind.failed);
    EXPECT_EQ(behind.output, text.substr(0, behind.output.size()));
    EXPECT_TRUE(Drive<RawInflate>(Noise(5000, 3), 1 << 20, 1 << 20).failed);
}

}  // namespace
