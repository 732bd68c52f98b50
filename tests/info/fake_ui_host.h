#pragma once
// A scripted host for the window tests: records every box, link and program start and never
// blocks.
#include <QUrl>
#include <vector>

#include "platform/ui_host.h"

struct RecordedBox {
    QString caption;
    QString text;
    platform::MessageIcon icon;
    QMessageBox::StandardButtons buttons;
};

class FakeUiHost final : public platform::UiHost {
public:
    FakeUiHost() { platform::SetUi(this); }
    ~FakeUiHost() override { platform::SetUi(nullptr); }
    FakeUiHost(const FakeUiHost&) = delete;
    FakeUiHost& operator=(const FakeUiHost&) = delete;

    QMessageBox::StandardButton messageBox(QWidget*, const QString& caption, const QString& text,
                                           platform::MessageIcon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override {
        boxes.push_back({caption, text, icon, buttons});
        return defaultButton;
    }
    std::optional<QString> openFileName(QWidget*, const QString&) override { return {}; }
    bool openUrl(const QUrl& url) override {
        urls.push_back(url);
        return openUrlSucceeds;
    }
    bool startProgram(const QString& program, const QStringList& arguments) override {
        programs.push_back(program);
        programArguments.push_back(arguments);
        return true;
    }

    bool openUrlSucceeds = true;
    std::vector<RecordedBox> boxes;
    std::vector<QUrl> urls;
    std::vector<QString> programs;
    std::vector<QStringList> programArguments;
};
