#pragma once

#include <string>
#include <vector>

// What an open or save panel shows: its title, the filter offered for the
// allowed types (extensions without the dot; the save panel appends the first
// to a name that ends in none of them), the name a save panel suggests, and
// which remembered folder it starts in, unless it is given a folder of its own
// (the open disk's, for Save As).
struct KTFilePanel {
    enum class Folder { Disks, Samples };

    std::string title;
    std::string filterName;
    std::vector<std::string> allowedFileTypes;
    std::string suggestedName;
    Folder folder = Folder::Disks;
    std::string startFolder;
};
