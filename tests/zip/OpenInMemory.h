#pragma once
// Opens an archive built by a test from a memory stream the test keeps (the stream must
// outlive the archiver's use of it).
#include <string>
#include <vector>

#include "fixtures/ZipBuilder.h"
#include "zip/ZipArchiver.h"

inline void OpenInMemory(TZipArchiver& archiver, TZAMemoryStream& archive,
                         const std::string& bytes) {
    archive.Clear();
    archive.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    archiver.OpenArchive(archive, false);
}

inline void OpenInMemory(TZipArchiver& archiver, TZAMemoryStream& archive,
                         const std::vector<zipfix::ZipEntry>& entries) {
    zipfix::ZipPlan plan;
    plan.entries = entries;
    OpenInMemory(archiver, archive, zipfix::BuildZip(plan));
}
