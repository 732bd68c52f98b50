#pragma once
// Path rules of the host: '/' separates folders.
#include <string>

namespace platform {

constexpr char kPathSeparator = '/';

// Folder of the running executable, ending with the separator.
std::string ExecutableFolder();
// Full path of the running executable.
std::string ExecutablePath();

// Text from the last '.' to the end when that '.' stands after the last separator; else empty.
std::string ExtractFileExt(const std::string& path);
// Text after the last separator.
std::string ExtractFileName(const std::string& path);

// The application title made from an executable's file name: the name without folder, cut
// before its first '.', the first character in upper case and every later one in lower case
// (ASCII letters; the name is UTF-8).
std::string ApplicationTitle(const std::string& executablePath);

}  // namespace platform
