#pragma once
// Window designs are laid out in pixels at 120 pixels per inch; these helpers scale them to
// the screen and supply the designs' fonts, with metric-compatible free fonts standing in
// where the originals are missing.
#include <QFont>
#include <QRect>
#include <QString>

namespace platform {

// Registers the free stand-ins shipped by the system (Wine's Tahoma and MS Sans Serif) and
// the substitutions Tahoma, MS Sans Serif and Arial fall back to. Call once after the
// QApplication exists; later calls do nothing.
void RegisterDesignFonts();

// Screen pixels per design pixel (design: 120 pixels per inch).
double DesignScale();
// A design length in screen pixels.
int Px(int designPixels);
// A design rectangle (left, top, width, height) in screen pixels.
QRect PxRect(int left, int top, int width, int height);

// The font `family` at `points`, bold if asked.
QFont DesignFont(const QString& family, int points, bool bold = false);

}  // namespace platform
