#pragma once
// Qt's own German translation: its file dialog, the standard buttons of message boxes and the
// names of shortcut keys ("Strg+O") speak German, as a German desktop shows its own dialogs.
#include <QString>
#include <memory>

class QTranslator;

// Loads Qt's German translation from the folder the Qt installation keeps its translations
// in (or from `folder` when one is given). Returns nothing when it is not installed.
// The caller installs the translator on the application and keeps it alive.
std::unique_ptr<QTranslator> LoadQtGermanTranslation(const QString& folder = QString());
