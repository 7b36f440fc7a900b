#pragma once

// A group of radio buttons stacked in rows; exactly one row is chosen.
class KTMatrix {
public:
    virtual ~KTMatrix() = default;
    virtual int selectedRow() const = 0;
};
