#pragma once
// The program's logo, drawn at run time: a compass dial over a small histogram of find days.
#include <QPixmap>

// The logo as a square picture of `side` pixels.
QPixmap KalveroLogo(int side);
