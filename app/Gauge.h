#pragma once
// The progress gauge of the main window: a navy bar on white in a single-line border with the
// percentage centred on it. The text is white where it stands on the bar and black where it
// stands on the white rest, so it reads at every percentage.
#include <QColor>
#include <QProgressBar>

class TGauge : public QProgressBar {
    Q_OBJECT

public:
    static inline const QColor kBar{0, 0, 128};
    static inline const QColor kBackground{255, 255, 255};
    static inline const QColor kBorder{128, 128, 128};

    explicit TGauge(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
