#include "Global_Unit.h"

#include "platform/host_path.h"

void TGlobalUnit::Initialize() {
    ExePfad = QString::fromStdString(platform::ExecutableFolder());
    GpxZeilen.Clear();
}

void TGlobalUnit::Release() {
    GpxZeilen.Clear();
    ExePfad.clear();
    DateiName.clear();
    GpxName.clear();
    Finds.CacherName.clear();
    Finds.CacherID.clear();
    Finds.TagesListe.clear();
    Finds.TagesListe.shrink_to_fit();
    Finds.MengenListe.clear();
    Finds.MengenListe.shrink_to_fit();
}

TGlobalUnit& Global() {
    static TGlobalUnit instance;
    return instance;
}
