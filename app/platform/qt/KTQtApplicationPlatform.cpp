#include "app/platform/qt/KTQtApplicationPlatform.h"

#include "app/platform/qt/KTQtWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QStringList>

namespace {

// "Disks (*.mid)" style filter for the allowed extensions; every file without.
QString nameFilter(const std::vector<std::string>& allowedFileTypes)
{
    if (allowedFileTypes.empty())
        return QObject::tr("All files (*)");
    QStringList patterns;
    for (const std::string& type : allowedFileTypes)
        patterns << QStringLiteral("*.") + QString::fromStdString(type);
    return QObject::tr("Disk files (%1)").arg(patterns.join(QLatin1Char(' ')));
}

} // namespace

KTQtApplicationPlatform::KTQtApplicationPlatform(std::map<std::string, std::string> infoDictionary)
    : mInfoDictionary(std::move(infoDictionary))
{
}

std::optional<std::string> KTQtApplicationPlatform::runOpenPanel(const std::vector<std::string>& allowedFileTypes,
                                                                 bool)
{
    // One file at a time: the editor never asks for several.
    const QString path = QFileDialog::getOpenFileName(mMainWindow, QString(), QString(), nameFilter(allowedFileTypes));
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> KTQtApplicationPlatform::runSavePanel(const std::vector<std::string>& allowedFileTypes)
{
    QString path = QFileDialog::getSaveFileName(mMainWindow, QString(), QString(), nameFilter(allowedFileTypes));
    if (path.isEmpty())
        return std::nullopt;
    if (!allowedFileTypes.empty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QString::fromStdString(allowedFileTypes.front());
    return path.toStdString();
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
    QPushButton* defaultChoice =
        box.addButton(QString::fromStdString(defaultButton.empty() ? "OK" : defaultButton), QMessageBox::AcceptRole);
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

std::thread KTQtApplicationPlatform::startBackgroundOperation(std::function<void()> block)
{
    return std::thread(std::move(block));
}

std::string KTQtApplicationPlatform::objectForInfoDictionaryKey(const std::string& key) const
{
    const auto found = mInfoDictionary.find(key);
    return found == mInfoDictionary.end() ? std::string() : found->second;
}
