#pragma once
// Records and working state of the finds analysis.
#include <QString>
#include <cstdint>
#include <vector>

// One find day: the day as yyyy-mm-dd and the number of finds logged on it.
struct TDatum {
    QString Datum;
    int32_t Anzahl = 0;
};

// One histogram row: CacheProTag = N, Anzahl = number of days with exactly N finds.
struct TMenge {
    int32_t CacheProTag = 0;
    int32_t Anzahl = 0;
};

// What the analysis keeps between two opened files and what it works on. The main window
// holds one for the whole run; the command-line tool holds its own.
struct TFindsState {
    QString CacherName;
    QString CacherID;
    bool CacherSuchen = false;
    // Grows by doubling and is never shrunk; entries at AnzTage and beyond are stale.
    std::vector<TDatum> TagesListe = std::vector<TDatum>(1);
    int32_t TagesKapazitaet = 1;
    int32_t AnzTage = 0;
    int32_t AnzGleich = 0;
    int32_t MaxAnzahl = 0;
    std::vector<TMenge> MengenListe = std::vector<TMenge>(1);
    int32_t AnzBelegt = 0;
};
