#include "app/platform/qt/OrvaneApplicationMain.h"

#include "app/OrvaneEditorController.h"
#include "app/platform/qt/KTQtApplicationPlatform.h"
#include "app/platform/qt/KTQtEditorWindows.h"
#include "audioin/KTAudioRecorder.h"
#include "audioin/alsa/KTAlsaAudioInputDevice.h"
#include "audioout/KTAudioPlayer.h"
#include "audioout/alsa/KTAlsaAudioDevice.h"
#include "device/TLRecoveryFolder.h"
#include "midiout/KTSteadyClock.h"
#include "midiout/alsa/KTAlsaMidiPlatform.h"
#include "midiout/alsa/KTAlsaQuietErrors.h"
#include "resources/FactoryImage.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>

namespace {

// The information dictionary: the project version and the build number fixed
// when the build was configured.
std::map<std::string, std::string> infoDictionary()
{
    return {{"CFBundleShortVersionString", ORVANE_SHORT_VERSION}, {"CFBundleVersion", ORVANE_BUILD_VERSION}};
}

// Loads the translation named base for the first of the user's languages
// (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG) that has one, from folder. The
// texts are written in English: an English language ahead of the others keeps
// them, so LANGUAGE=en:de gives English.
bool loadTranslation(QTranslator& translator, const QString& base, const QString& folder)
{
    for (const QString& language : QLocale::system().uiLanguages()) {
        if (language == QStringLiteral("C") || language.startsWith(QStringLiteral("en")))
            return false;
        if (translator.load(base + QLatin1Char('_') + QString(language).replace(QLatin1Char('-'), QLatin1Char('_')),
                            folder) ||
            translator.load(base + QLatin1Char('_') + language.section(QLatin1Char('-'), 0, 0), folder))
            return true;
    }
    return false;
}

} // namespace

int OrvaneApplicationMain(int argc, char** argv, const std::function<void(KTQtEditorWindows&)>& didFinishLaunching)
{
    // A save past the file size limit fails with EFBIG and is reported like
    // any other failed save, instead of ending the editor.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("OrvaneEditor"));
    QApplication::setApplicationName(QStringLiteral("OrvaneEditor"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_SHORT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.orvaneeditor.OrvaneEditor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.orvaneeditor.OrvaneEditor")));
    // Only the Quit command and the main window's close button end the program,
    // both through the controller's termination answer.
    QApplication::setQuitOnLastWindowClosed(false);

    // The window in the user's language, Qt's own dialogs and buttons with it.
    QTranslator qtTexts;
    QTranslator editorTexts;
    if (loadTranslation(editorTexts, QStringLiteral("OrvaneEditor"), QStringLiteral(":/i18n"))) {
        QApplication::installTranslator(&editorTexts);
        if (loadTranslation(qtTexts, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(&qtTexts);
    }

    // Every ALSA failure the editor meets it shows in its window (no ports, no
    // sound output); alsa-lib's own messages on stderr would only repeat them.
    KTAlsaQuietErrors::install();
    KTSteadyClock clock;
    KTAlsaMidiPlatform midi(clock);
    KTQtApplicationPlatform platform(infoDictionary());
    // The sound output is named by the AudioDevice setting; it is opened only
    // while a bank plays, and the player is stopped before the controller goes.
    const std::string audioDeviceName = platform.stringForUserDefaultsKey("AudioDevice");
    KTAlsaAudioDevice audioDevice(audioDeviceName.empty() ? KTAlsaAudioDevice::kDefaultName : audioDeviceName);
    KTAudioPlayer audioPlayer(audioDevice);
    // The sound input takes are recorded from, named by the AudioInputDevice setting.
    const std::string audioInputName = platform.stringForUserDefaultsKey("AudioInputDevice");
    KTAlsaAudioInputDevice audioInput(audioInputName.empty() ? KTAlsaAudioInputDevice::kDefaultName : audioInputName);
    KTAudioRecorder recorder(audioInput);
    OrvaneEditorController controller(platform, midi, clock, FactoryImage::samples());
    controller.init();
    controller.setAudioOutput(audioDevice, audioPlayer);
    controller.setAudioInput(audioInput, recorder);
    controller.setRecoveryFolder(TLRecoveryFolder::defaultFolder().string());

    int result = 0;
    {
        KTQtEditorWindows windows(controller, platform);
        controller.awakeFromNib();
        windows.show();
        if (didFinishLaunching)
            didFinishLaunching(windows);
        result = QApplication::exec();
        // Leaving the loop another way (a session ending) still shuts down cleanly.
        windows.requestTermination();
    }
    return result;
}
