#include "ErrorText.h"

#include "platform/host_path.h"

QString WithFullStop(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') return message + u'.';
    return message;
}

QString ApplicationTitle() {
    return QString::fromStdString(platform::ApplicationTitle(platform::ExecutablePath()));
}
