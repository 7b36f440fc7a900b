#pragma once

#include "app/platform/KTFilePanel.h"

#include <QString>
#include <QStringList>
#include <QVariant>

// The editor's settings that outlive the program, kept by QSettings under the
// organisation and application "OrvaneEditor": the folders the panels last
// showed, the recent disks, and the values the controller and the window keep.
class KTQtSettings {
public:
    static constexpr int kRecentDisks = 10;

    static QString folder(KTFilePanel::Folder folder);
    static void setFolder(KTFilePanel::Folder folder, const QString& path);
    // Most recent first, at most kRecentDisks, each once.
    static QStringList recentDisks();
    static void noteRecentDisk(const QString& path);
    static QString value(const QString& key);
    static void setValue(const QString& key, const QVariant& value);
    static QByteArray bytes(const QString& key);
};
