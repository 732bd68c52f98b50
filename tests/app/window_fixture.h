#pragma once
// What the main window's tests share: a window on a scripted host user interface, files
// written into a temporary folder, and a small "My Finds" pocket query.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>

#include "app/Main_Unit.h"
#include "scripted_ui.h"

// A UTF-8 GPX with a byte-order mark, the phrase on line 2, finder 1234567 "Beispiel" and one
// "Found it" log for each entry of `days` (yyyy-mm-dd).
QByteArray PocketQueryBytes(const QStringList& days);

class TWindowTest : public ::testing::Test {
protected:
    // A new window after its creation handler.
    void SetUp() override;

    // Writes `bytes` as `name` into the test's folder; returns the full path.
    QString Write(const QString& name, const QByteArray& bytes);
    // Writes an archive `name` holding one deflated entry; returns the full path.
    QString WriteZip(const QString& name, const std::string& entryName, const std::string& content);
    // Chooses `path` in the open dialog through the window's Open action (no value: cancels).
    void Open(const std::optional<QString>& path);

    TScriptedUi ui;
    QTemporaryDir dir;
    TGlobalUnit global;
    std::unique_ptr<TfrmMain> window;
};
