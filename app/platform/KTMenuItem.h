#pragma once

#include <string>

// A menu command as menu validation sees it: its integer tag; and its tooltip,
// which says why it is unavailable when it is.
class KTMenuItem {
public:
    virtual ~KTMenuItem() = default;
    virtual int tag() const = 0;
    virtual void setToolTip(const std::string& text) = 0;
};
