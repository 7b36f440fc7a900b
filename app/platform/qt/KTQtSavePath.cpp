#include "app/platform/qt/KTQtSavePath.h"

#include <QFileInfo>

QString KTQtSavePath::withType(const QString& typed, const std::vector<std::string>& allowedFileTypes)
{
    if (allowedFileTypes.empty())
        return typed;
    for (const std::string& type : allowedFileTypes)
        if (typed.endsWith(QLatin1Char('.') + QString::fromStdString(type), Qt::CaseInsensitive))
            return typed;
    return typed + QLatin1Char('.') + QString::fromStdString(allowedFileTypes.front());
}

std::optional<QString> KTQtSavePath::confirmed(const QString& typed, const std::vector<std::string>& allowedFileTypes,
                                               const std::function<bool(const QString& existing)>& mayReplace)
{
    const QString path = withType(typed, allowedFileTypes);
    if (QFileInfo::exists(path) && !mayReplace(path))
        return std::nullopt;
    return path;
}
