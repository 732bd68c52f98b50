#pragma once
// kalvero-zip extract and test: the archiver's batch operations on the command line. A failing
// entry is reported on standard error and the batch goes on with the next one. The password
// (--password) is the archiver's own, set before the command runs.
#include <string>

#include "zip/ZipArchiver.h"

struct TBatchCommand {
    std::string Archive;
    std::string Mask = "*.*";
    std::string Folder = ".";            // extract: the target folder
    TZAOverwriteMode Overwrite = omPrompt;  // extract: what happens to an existing file
    bool JunkPaths = false;              // extract: every file straight into Folder
    bool Quiet = false;                  // no progress lines
};

// Parses the --overwrite value; false for an unknown one.
bool ParseOverwriteMode(const std::string& Text, TZAOverwriteMode& Mode);

// Exit status: 0 when every selected entry was done, 1 when one failed or was skipped.
// Archiver errors that end the whole command (the archive cannot be opened) are thrown.
int ExtractArchive(TZipArchiver& Archiver, const TBatchCommand& Command);
// Prints "OK NAME", "SKIPPED NAME" or "FAILED NAME: message" per file on standard output.
int TestArchive(TZipArchiver& Archiver, const TBatchCommand& Command);
