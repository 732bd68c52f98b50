#pragma once
// Failures of the host's file layer. Their message is the complete, user-facing text
// (UTF-8); callers pass them on unchanged.
#include <stdexcept>
#include <string>

namespace platform {

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

// The system's description of an errno value: in German for the causes a user meets when
// opening a file (missing, access denied, a folder, name too long, too many links, device
// busy or gone); any other cause as the C library words it in the user's language.
std::string SystemErrorText(int errnum);

// "Datei %s kann nicht geöffnet werden. %s" with the full path and the cause.
std::string FileOpenErrorText(const std::string& path, int errnum);
// "Datei \"%s\" kann nicht erstellt werden. %s" with the full path and the cause.
std::string FileCreateErrorText(const std::string& path, int errnum);

}  // namespace platform
