#pragma once

#include <QString>

#include <vector>

// Bank numbers as the user types them, 1 to 7, turned into bank indexes 0 to 6.
// Text that names no bank is a usage error.
class OrvaneBankNumbers {
public:
    // One bank: "3".
    static int one(const QString& text);
    // A list of banks and ranges: "1,3-5". Each bank once, in the order given.
    static std::vector<int> list(const QString& text);
};
