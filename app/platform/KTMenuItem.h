#pragma once

// A menu command as menu validation sees it: its integer tag.
class KTMenuItem {
public:
    virtual ~KTMenuItem() = default;
    virtual int tag() const = 0;
};
