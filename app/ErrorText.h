#pragma once
// Texts of the standard error box.
#include <QString>

// The message as the box shows it: "." is appended when the last character's code is above
// that of "." (a letter or digit gets one; ")" or "." gets none).
QString WithFullStop(const QString& message);
// The caption of the box: the application title of the running executable.
QString ApplicationTitle();
