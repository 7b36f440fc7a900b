#pragma once

#include <string>

// How a write through the output rule ended: nothing on success, otherwise the
// system's reason in its own words ("No space left on device").
struct TLWriteResult {
    std::string failure;

    explicit operator bool() const { return failure.empty(); }
    static TLWriteResult failed(std::string reason) { return {std::move(reason)}; }
};
