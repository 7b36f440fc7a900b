#include "app/platform/qt/KTQtApplicationPlatform.h"

#include "app/platform/qt/KTQtImportRegionDialog.h"
#include "app/platform/qt/KTQtSavePath.h"
#include "app/platform/qt/KTQtSettings.h"
#include "app/platform/qt/KTQtWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMimeData>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

namespace {

// "Disks (*.mid *.midi)" for the panel's types, then every file.
QStringList nameFilters(const KTFilePanel& panel)
{
    QStringList filters;
    if (!panel.allowedFileTypes.empty()) {
        QStringList patterns;
        for (const std::string& type : panel.allowedFileTypes)
            patterns << QStringLiteral("*.") + QString::fromStdString(type);
        filters << QString::fromStdString(panel.filterName) + QStringLiteral(" (%1)").arg(patterns.join(' '));
    }
    // The pattern stays as it is: only the words before it are translated.
    return filters << QCoreApplication::translate("KTQtApplicationPlatform", "All files") + QStringLiteral(" (*)");
}

} // namespace

KTQtApplicationPlatform::KTQtApplicationPlatform(std::map<std::string, std::string> infoDictionary)
    : mInfoDictionary(std::move(infoDictionary))
{
}

std::optional<std::string> KTQtApplicationPlatform::runOpenPanel(const KTFilePanel& panel)
{
    return runPanel(panel, false);
}

std::optional<std::string> KTQtApplicationPlatform::runSavePanel(const KTFilePanel& panel)
{
    return runPanel(panel, true);
}

std::optional<std::string> KTQtApplicationPlatform::runPanel(const KTFilePanel& panel, bool save)
{
    const QString start =
        panel.startFolder.empty() ? KTQtSettings::folder(panel.folder) : QString::fromStdString(panel.startFolder);
    QFileDialog dialog(mMainWindow, QString::fromStdString(panel.title), start);
    dialog.setNameFilters(nameFilters(panel));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The question is asked about the final name, after the type is added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (save)
        dialog.selectFile(QString::fromStdString(panel.suggestedName));
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString typed = dialog.selectedFiles().constFirst();
        // The folder of the file chosen, also when its whole path was typed.
        const QString folder = QFileInfo(typed).absolutePath();
        KTQtSettings::setFolder(panel.folder, folder);
        if (!save)
            return typed.toStdString();
        const std::optional<QString> path =
            KTQtSavePath::confirmed(typed, panel.allowedFileTypes,
                                    [this](const QString& existing) { return mayReplace(existing); });
        if (path)
            return path->toStdString();
        // Back in the folder of the name that was not replaced.
        dialog.setDirectory(folder);
        dialog.selectFile(QFileInfo(typed).fileName());
    }
}

bool KTQtApplicationPlatform::mayReplace(const QString& existing)
{
    const QString title = QCoreApplication::translate("KTQtApplicationPlatform", "“%1” already exists.")
                              .arg(QFileInfo(existing).fileName());
    const QString message = QCoreApplication::translate("KTQtApplicationPlatform", "Do you want to replace it?");
    const QString replace = QCoreApplication::translate("KTQtApplicationPlatform", "Replace");
    const QString cancel = QCoreApplication::translate("KTQtApplicationPlatform", "Cancel");
    return runAlert(QMessageBox::Warning, title.toStdString(), message.toStdString(), replace.toStdString(),
                    cancel.toStdString(), "") == 1;
}

int KTQtApplicationPlatform::runAlert(QMessageBox::Icon icon, const std::string& title, const std::string& message,
                                      const std::string& defaultButton, const std::string& alternateButton,
                                      const std::string& otherButton)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), QString::fromStdString(title), QMessageBox::NoButton,
                    mMainWindow);
    box.setInformativeText(QString::fromStdString(message));
    // Title and message as given, tags and line breaks included: the box's own
    // text format reaches only the title's label.
    for (QLabel* label : box.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    // The buttons' titles come translated; only the fallback is the window's own.
    const QString defaultTitle = defaultButton.empty() ? QCoreApplication::translate("KTQtApplicationPlatform", "OK")
                                                       : QString::fromStdString(defaultButton);
    QPushButton* defaultChoice = box.addButton(defaultTitle, QMessageBox::AcceptRole);
    QPushButton* alternateChoice = alternateButton.empty()
        ? nullptr
        : box.addButton(QString::fromStdString(alternateButton), QMessageBox::RejectRole);
    QPushButton* otherChoice =
        otherButton.empty() ? nullptr : box.addButton(QString::fromStdString(otherButton), QMessageBox::ActionRole);
    box.setDefaultButton(defaultChoice);
    box.setEscapeButton(alternateChoice ? alternateChoice : defaultChoice);
    box.exec();
    if (box.clickedButton() == otherChoice && otherChoice)
        return -1;
    if (box.clickedButton() == alternateChoice && alternateChoice)
        return 0;
    return 1;
}

int KTQtApplicationPlatform::runCriticalAlertPanel(const std::string& title, const std::string& message,
                                                   const std::string& defaultButton,
                                                   const std::string& alternateButton, const std::string& otherButton)
{
    return runAlert(QMessageBox::Critical, title, message, defaultButton, alternateButton, otherButton);
}

int KTQtApplicationPlatform::runInformationalAlertPanel(const std::string& title, const std::string& message,
                                                        const std::string& defaultButton,
                                                        const std::string& alternateButton,
                                                        const std::string& otherButton)
{
    return runAlert(QMessageBox::Information, title, message, defaultButton, alternateButton, otherButton);
}

void KTQtApplicationPlatform::beep()
{
    QApplication::beep();
}

std::optional<double> KTQtApplicationPlatform::runValuePanel(const std::string& title, const std::string& label,
                                                             double value, double minimum, double maximum)
{
    bool accepted = false;
    const double chosen = QInputDialog::getDouble(mMainWindow, QString::fromStdString(title),
                                                  QString::fromStdString(label), value, minimum, maximum, 1,
                                                  &accepted);
    return accepted ? std::optional<double>(chosen) : std::nullopt;
}

std::optional<TLImportOptions> KTQtApplicationPlatform::runImportRegionPanel(
    const std::string& path, std::function<double(const TLImportOptions&)> play, std::function<void()> stop)
{
    return KTQtImportRegionDialog::run(mMainWindow, QString::fromStdString(path), std::move(play), std::move(stop));
}

// Sound goes on the clipboard as WAV data under both names audio programs use.
void KTQtApplicationPlatform::setClipboardSound(const std::vector<std::uint8_t>& wave)
{
    auto* data = new QMimeData;
    const QByteArray bytes(reinterpret_cast<const char*>(wave.data()), static_cast<qsizetype>(wave.size()));
    data->setData(QStringLiteral("audio/wav"), bytes);
    data->setData(QStringLiteral("audio/x-wav"), bytes);
    QApplication::clipboard()->setMimeData(data);
}

std::optional<std::vector<std::uint8_t>> KTQtApplicationPlatform::clipboardSound() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    for (const QString& type : {QStringLiteral("audio/wav"), QStringLiteral("audio/x-wav")})
        if (data && data->hasFormat(type)) {
            const QByteArray bytes = data->data(type);
            return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
        }
    return std::nullopt;
}

void KTQtApplicationPlatform::beginSheetModalForWindow(KTWindow& sheet, KTWindow& window, SheetDidEndCallback didEnd,
                                                       void* contextInfo)
{
    auto* sheetWindow = dynamic_cast<KTQtWindow*>(&sheet);
    auto* parentWindow = dynamic_cast<KTQtWindow*>(&window);
    if (!sheetWindow || !parentWindow)
        return;
    mSheet = Sheet{&sheet, std::move(didEnd), contextInfo};
    QWidget* dialog = sheetWindow->widget();
    dialog->setWindowModality(Qt::WindowModal);
    // Over the middle of the main window, as a sheet would sit.
    dialog->adjustSize();
    const QRect parent = parentWindow->widget()->frameGeometry();
    dialog->move(parent.center() - QPoint(dialog->width() / 2, dialog->height() / 2));
    sheet.makeKeyAndOrderFront(nullptr);
}

void KTQtApplicationPlatform::endSheet(KTWindow& sheet)
{
    if (!mSheet || mSheet->sheet != &sheet)
        return;
    // Detach first: the callback may begin the next sheet.
    Sheet ended = std::move(*mSheet);
    mSheet.reset();
    ended.didEnd(ended.sheet, 0, ended.contextInfo);
}

void KTQtApplicationPlatform::postToMainQueue(std::function<void()> block)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(block), Qt::QueuedConnection);
}

void KTQtApplicationPlatform::postToMainQueueAfter(std::chrono::milliseconds delay, std::function<void()> block)
{
    QTimer::singleShot(delay, QCoreApplication::instance(), std::move(block));
}

std::thread KTQtApplicationPlatform::startBackgroundOperation(std::function<void()> block)
{
    return std::thread(std::move(block));
}

std::string KTQtApplicationPlatform::translated(const char* context, const char* text) const
{
    return QCoreApplication::translate(context, text).toStdString();
}

std::string KTQtApplicationPlatform::objectForInfoDictionaryKey(const std::string& key) const
{
    const auto found = mInfoDictionary.find(key);
    return found == mInfoDictionary.end() ? std::string() : found->second;
}

std::string KTQtApplicationPlatform::stringForUserDefaultsKey(const std::string& key) const
{
    return KTQtSettings::value(QString::fromStdString(key)).toStdString();
}

void KTQtApplicationPlatform::setStringForUserDefaultsKey(const std::string& key, const std::string& value)
{
    KTQtSettings::setValue(QString::fromStdString(key), QString::fromStdString(value));
}

void KTQtApplicationPlatform::noteRecentDocument(const std::string& path)
{
    KTQtSettings::noteRecentDisk(QString::fromStdString(path));
}
