#pragma once
// The shared state of the program: the program's folder, the chosen file, the loaded lines
// and what the finds analysis keeps from one file to the next.
#include <QString>

#include "stats/LineList.h"
#include "stats/StatsTypes.h"

struct TGlobalUnit {
    QString ExePfad;    // folder of the executable, ending with '/'
    QString DateiName;  // full path chosen in the open dialog
    QString GpxName;    // name of the archive entry to extract
    TLineList GpxZeilen;
    TFindsState Finds;  // finder, day list and histogram state

    // Start-up: ExePfad from the running executable; the line list starts empty.
    void Initialize();
    // End of the run: the lines, the texts and both lists are released.
    void Release();
};

// The one process-wide instance.
TGlobalUnit& Global();
