#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The file a save panel's answer names: the typed name with the panel's type
// added unless it already ends in one of the allowed types (in any case), and
// the question before an existing file of that final name is replaced.
class KTQtSavePath {
public:
    static QString withType(const QString& typed, const std::vector<std::string>& allowedFileTypes);
    // The final path, or nothing when it exists and mayReplace (asked with it)
    // says no.
    static std::optional<QString> confirmed(const QString& typed, const std::vector<std::string>& allowedFileTypes,
                                            const std::function<bool(const QString& existing)>& mayReplace);
};
