#include "BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

TBusyCursor::TBusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

TBusyCursor::~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }

TArrowCursorWhileAsking::TArrowCursorWhileAsking()
    : pushed_(QGuiApplication::overrideCursor() != nullptr) {
    if (pushed_) QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

TArrowCursorWhileAsking::~TArrowCursorWhileAsking() {
    if (pushed_) QGuiApplication::restoreOverrideCursor();
}
