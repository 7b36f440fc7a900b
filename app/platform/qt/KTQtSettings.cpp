#include "app/platform/qt/KTQtSettings.h"

#include <QSettings>

namespace {

const QString kRecentDisksKey = QStringLiteral("RecentDisks");

QString folderKey(KTFilePanel::Folder folder)
{
    return folder == KTFilePanel::Folder::Disks ? QStringLiteral("DiskFolder") : QStringLiteral("SampleFolder");
}

} // namespace

QString KTQtSettings::folder(KTFilePanel::Folder folder)
{
    return value(folderKey(folder));
}

void KTQtSettings::setFolder(KTFilePanel::Folder folder, const QString& path)
{
    setValue(folderKey(folder), path);
}

QStringList KTQtSettings::recentDisks()
{
    return QSettings().value(kRecentDisksKey).toStringList();
}

void KTQtSettings::noteRecentDisk(const QString& path)
{
    QStringList disks = recentDisks();
    disks.removeAll(path);
    disks.prepend(path);
    setValue(kRecentDisksKey, disks.mid(0, kRecentDisks));
}

QString KTQtSettings::value(const QString& key)
{
    return QSettings().value(key).toString();
}

void KTQtSettings::setValue(const QString& key, const QVariant& value)
{
    QSettings().setValue(key, value);
}

QByteArray KTQtSettings::bytes(const QString& key)
{
    return QSettings().value(key).toByteArray();
}
