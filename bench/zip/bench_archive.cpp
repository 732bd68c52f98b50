#include "bench_archive.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

void Put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::string BenchEntryName(int32_t i) {
    char name[64];
    std::snprintf(name, sizeof name, "Finds/Region%03d/GC%05X_Log-%d.gpx", i % 500, i * 7919,
                  i);
    return name;
}

bool WriteBenchArchive(const std::string& path, int32_t entries) {
    std::string local, central;
    local.reserve(static_cast<size_t>(entries) * 90);
    central.reserve(static_cast<size_t>(entries) * 90);
    for (int32_t i = 0; i < entries; ++i) {
        const std::string name = BenchEntryName(i);
        const std::string data = "<log id=\"" + std::to_string(i) + "\"/>\n";
        const auto crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        const auto offset = static_cast<uint32_t>(local.size());
        const auto size = static_cast<uint32_t>(data.size());
        Put32(local, 0x04034B50);
        for (uint32_t v : {20u, 0u, 0u, 0x6A21u, 0x5A4Cu}) Put16(local, v);
        Put32(local, crc);
        Put32(local, size);
        Put32(local, size);
        Put16(local, static_cast<uint32_t>(name.size()));
        Put16(local, 0);
        local += name + data;

        Put32(central, 0x02014B50);
        for (uint32_t v : {0x031Eu, 20u, 0u, 0u, 0x6A21u, 0x5A4Cu}) Put16(central, v);
        Put32(central, crc);
        Put32(central, size);
        Put32(central, size);
        Put16(central, static_cast<uint32_t>(name.size()));
        for (int k = 0; k < 4; ++k) Put16(central, 0);
        Put32(central, 0x20);
        Put32(central, offset);
        central += name;
    }
    std::string end;
    Put32(end, 0x06054B50);
    Put16(end, 0);
    Put16(end, 0);
    // More entries than the 16-bit counts hold: the counts go to Zip64 records.
    const bool zip64 = entries > 0xFFFE;
    std::string zip64Records;
    if (zip64) {
        const uint64_t dirOffset = local.size();
        const uint64_t recordOffset = local.size() + central.size();
        auto put64 = [&](uint64_t v) {
            Put32(zip64Records, static_cast<uint32_t>(v & 0xFFFFFFFF));
            Put32(zip64Records, static_cast<uint32_t>(v >> 32));
        };
        Put32(zip64Records, 0x06064B50);
        put64(44);
        Put16(zip64Records, 45);
        Put16(zip64Records, 45);
        Put32(zip64Records, 0);
        Put32(zip64Records, 0);
        put64(static_cast<uint64_t>(entries));
        put64(static_cast<uint64_t>(entries));
        put64(central.size());
        put64(dirOffset);
        Put32(zip64Records, 0x07064B50);
        Put32(zip64Records, 0);
        put64(recordOffset);
        Put32(zip64Records, 1);
    }
    const uint32_t count16 = zip64 ? 0xFFFF : static_cast<uint32_t>(entries);
    Put16(end, count16);
    Put16(end, count16);
    Put32(end, zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(central.size()));
    Put32(end, zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(local.size()));
    Put16(end, 0);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << local << central << zip64Records << end;
    return static_cast<bool>(out);
}

std::string RawDeflate(const std::string& data, int level) {
    z_stream zs{};
    if (deflateInit2(&zs, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        std::abort();
    std::string out(deflateBound(&zs, static_cast<uLong>(data.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    if (deflate(&zs, Z_FINISH) != Z_STREAM_END) std::abort();
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}
