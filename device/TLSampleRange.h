#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// A half-open run of a bank's samples, begin to end (exclusive).
struct TLSampleRange {
    std::size_t begin = 0;
    std::size_t end = 0;

    // The whole bank: 0 to 65,536.
    static TLSampleRange whole();
    // begin to end when 0 <= begin <= end <= 65,536; nothing for a range that is reversed or leaves the bank.
    static std::optional<TLSampleRange> checked(std::int64_t begin, std::int64_t end);

    // The part inside the bank: end no further than the bank's end, begin no further than end.
    TLSampleRange clamped() const;
    bool empty() const { return end <= begin; }
    std::size_t size() const { return empty() ? 0 : end - begin; }
    bool operator==(const TLSampleRange&) const = default;
};
