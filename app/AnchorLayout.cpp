#include "AnchorLayout.h"

#include <QWidget>
#include <QWidgetItem>

#include "platform/ui_design.h"

TAnchorLayout::TAnchorLayout(QWidget* parent, QSize designSize)
    : QLayout(parent), design_(designSize) {
    setContentsMargins(0, 0, 0, 0);
}

TAnchorLayout::~TAnchorLayout() {
    for (Entry& e : items_) delete e.item;
}

void TAnchorLayout::Place(QWidget* widget, QRect designRect, int anchors) {
    addChildWidget(widget);
    items_.push_back({new QWidgetItem(widget), designRect, anchors});
    invalidate();
}

void TAnchorLayout::addItem(QLayoutItem* item) { items_.push_back({item, QRect(), Left | Top}); }

QSize TAnchorLayout::sizeHint() const {
    return QSize(platform::Px(design_.width()), platform::Px(design_.height()));
}

QSize TAnchorLayout::minimumSize() const { return QSize(0, 0); }

QLayoutItem* TAnchorLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<size_t>(index)].item : nullptr;
}

QLayoutItem* TAnchorLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = items_[static_cast<size_t>(index)].item;
    items_.erase(items_.begin() + index);
    return item;
}

// Design positions count from the parent's own top-left corner, as a window's client area
// does, not from inside the frame a styled parent (a group box) keeps as its contents margin.
void TAnchorLayout::setGeometry(const QRect& given) {
    QLayout::setGeometry(given);
    const QRect rect = parentWidget() ? parentWidget()->rect() : given;
    const int grownW = rect.width() - platform::Px(design_.width());
    const int grownH = rect.height() - platform::Px(design_.height());
    for (const Entry& e : items_) {
        QRect r = platform::PxRect(e.design.x(), e.design.y(), e.design.width(), e.design.height());
        if (e.design.width() == 0) r.setSize(e.item->sizeHint());
        r.translate(rect.topLeft());
        if (e.anchors & Right) {
            if (e.anchors & Left) r.setWidth(r.width() + grownW);
            else r.translate(grownW, 0);
        }
        if (e.anchors & Bottom) {
            if (e.anchors & Top) r.setHeight(r.height() + grownH);
            else r.translate(0, grownH);
        }
        e.item->setGeometry(r);
    }
}
