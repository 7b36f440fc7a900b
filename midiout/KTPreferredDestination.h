#pragma once

#include <string>
#include <vector>

// Which destination the port list selects: the one the user chose last, found
// by its shown name, else the first that is not a through port (a through port
// only passes the data on to other programs, so nothing would be heard).
class KTPreferredDestination {
public:
    // The index into titles, or 0 when every title is a through port or the
    // list is empty.
    static int indexIn(const std::vector<std::string>& titles, const std::string& remembered);
    static bool isThroughPort(const std::string& title);
};
