#pragma once
// Places widgets at design positions (pixels at 120 ppi, scaled to the screen, counted from
// the parent's top-left corner) and lets the edges that are anchored to the parent's right or
// bottom follow the parent's size.
#include <QLayout>
#include <QRect>
#include <vector>

class TAnchorLayout : public QLayout {
public:
    enum Anchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };

    // `designSize` is the parent's design client size against which anchors keep distances.
    TAnchorLayout(QWidget* parent, QSize designSize);
    ~TAnchorLayout() override;

    // Adds `widget` at the design rectangle; a label may give width and height 0 to keep its
    // own size hint.
    void Place(QWidget* widget, QRect designRect, int anchors = Left | Top);

    void addItem(QLayoutItem* item) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        QLayoutItem* item;
        QRect design;
        int anchors;
    };
    QSize design_;
    std::vector<Entry> items_;
};
