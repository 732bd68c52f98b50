#include "host_error.h"

#include <cstring>
#include <locale.h>

namespace platform {

std::string SystemErrorText(int errnum) {
    // strerror_l follows LC_MESSAGES of the user's environment when a locale is set.
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
