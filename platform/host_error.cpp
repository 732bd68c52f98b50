#include "host_error.h"

#include <cerrno>
#include <cstring>
#include <locale.h>

namespace platform {
namespace {

// The causes a user meets when a file cannot be opened, worded as a German system words them
// (the German messages of the GNU C library). The program speaks German whatever the user's
// locale says.
struct GermanFileError {
    int errnum;
    const char* text;
};

constexpr GermanFileError kGermanFileErrors[] = {
    {ENOENT, "Datei oder Verzeichnis nicht gefunden"},
    {ENOTDIR, "Ist kein Verzeichnis"},
    {EACCES, "Keine Berechtigung"},
    {EPERM, "Die Operation ist nicht erlaubt"},
    {EISDIR, "Ist ein Verzeichnis"},
    {ENAMETOOLONG, "Der Dateiname ist zu lang"},
    {ELOOP, "Zu viele Ebenen aus symbolischen Links"},
    {EMLINK, "Zu viele Links"},
    {EBUSY, "Das Gerät oder die Ressource ist belegt"},
    {ENODEV, "Kein passendes Gerät gefunden"},
    {ENXIO, "Kein passendes Gerät bzw. keine passende Adresse gefunden"},
    {ENOMEDIUM, "Kein Medium gefunden"},
    {EIO, "Eingabe-/Ausgabefehler"},
};

const char* GermanFileErrorText(int errnum) {
    for (const GermanFileError& e : kGermanFileErrors) {
        if (e.errnum == errnum) return e.text;
    }
    return nullptr;
}

}  // namespace

std::string SystemErrorText(int errnum) {
    if (const char* german = GermanFileErrorText(errnum)) return german;
    // Other causes as the C library words them, in the user's language where it has one.
    locale_t loc = newlocale(LC_MESSAGES_MASK, "", static_cast<locale_t>(0));
    std::string text;
    if (loc != static_cast<locale_t>(0)) {
        text = strerror_l(errnum, loc);
        freelocale(loc);
    } else {
        text = std::strerror(errnum);
    }
    return text;
}

std::string FileOpenErrorText(const std::string& path, int errnum) {
    return "Datei " + path + " kann nicht geöffnet werden. " + SystemErrorText(errnum);
}

std::string FileCreateErrorText(const std::string& path, int errnum) {
    return "Datei \"" + path + "\" kann nicht erstellt werden. " + SystemErrorText(errnum);
}

}  // namespace platform
