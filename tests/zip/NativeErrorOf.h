#pragma once
// The NativeError of the archiver error that a call raises, 0 when it raises none.
#include <cstdint>
#include <functional>

#include "zip/ZAExcept.h"

inline int32_t NativeErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EZAException& e) {
        return e.NativeError;
    }
    return 0;
}
