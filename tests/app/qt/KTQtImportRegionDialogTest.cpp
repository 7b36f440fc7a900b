// The Import Region dialog: its choices give the bank `orvane import` gives for
// the same choices, byte for byte; a file it refuses; a close while a long file
// is still being read.

#include "OffscreenApplication.h"
#include "tests/support/TestFolder.h"

#include "app/platform/qt/KTQtImportRegionDialog.h"
#include "app/platform/qt/KTQtRegionOverview.h"
#include "device/TLDiskLoader.h"
#include "device/TLOrvane.h"
#include "device/TLSampleImporter.h"
#include "resources/FactoryImage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <cstdlib>

namespace {

struct Choices {
    std::vector<Qt::Key> overviewKeys;
    QString typedStart;
    int channel = 0;
    bool trim = false, normalize = false;
};

TLImportOptions chosen(const std::string& path, const Choices& choices, bool* channelEnabled = nullptr)
{
    KTQtImportRegionDialog dialog(nullptr, QString::fromStdString(path), {}, {});
    dialog.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.overview().columns.empty() && dialog.overview().complete(); }));
    auto* start = dialog.findChild<QDoubleSpinBox*>();
    for (Qt::Key key : choices.overviewKeys)
        QTest::keyClick(dialog.findChild<KTQtRegionOverview*>(), key);
    if (!choices.typedStart.isEmpty())
        start->selectAll(), QTest::keyClicks(start, choices.typedStart);
    dialog.findChild<QComboBox*>()->setCurrentIndex(choices.channel);
    if (channelEnabled)
        *channelEnabled = dialog.findChild<QComboBox*>()->isEnabled();
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        box->setChecked(box->text().contains("Trim") ? choices.trim : choices.normalize);
    return dialog.options();
}

// Bank 1 as `orvane import` writes it with the given options.
std::vector<std::int16_t> importedByTheCommandLine(const TestFolder& folder, const std::string& path,
                                                   const std::string& options)
{
    const std::string disk = folder.path("bank.mid");
    const std::string command = ORVANE_CLI " import " + path + " --bank 1 --out " + disk + " " + options;
    EXPECT_EQ(std::system((command + " >/dev/null").c_str()), 0) << command;
    TLOrvane orvane(FactoryImage::samples());
    TLDiskLoader::load(TLDiskLoader::examine(disk, orvane), orvane);
    return orvane.mSamples[0];
}

TEST(QtImportRegionDialog, TheChoicesGiveTheBankTheCommandLineGivesForThem)
{
    offscreenApplication();
    TestFolder folder;
    const std::string stereo = folder.path("stereo.wav"), shortMono = folder.path("mono.aif");
    ASSERT_TRUE(folder.sox("-n -r 48000 -c 2 -b 16 " + stereo + " synth 3 sine 300 sine 500"));
    ASSERT_TRUE(folder.sox("-n -r 44100 -c 1 -b 16 " + shortMono + " synth 1 sine 300"));
    const double bank = 65536.0 / 44100.0;
    // Keys move the window a tenth of its length, each move to the millisecond.
    using Channel = TLImportOptions::Channel;
    const struct {
        const std::string& path;
        Choices choices;
        double start, length;
        Channel channel;
        std::optional<double> trim, normalize;
        std::string commandLine;
    } cases[] = {
        {stereo, {{}, "1.25", 1, true, false}, 1.25, bank, Channel::Left, -50.0, std::nullopt,
         "--start 1.25 --channel left --trim-silence"},
        {stereo, {{Qt::Key_End}, "", 2, false, true}, 1.514, 3.0 - 1.514, Channel::Right, std::nullopt, 0.0,
         "--start 1.514 --channel right --normalize"},
        {stereo, {{Qt::Key_Right, Qt::Key_Right}, "", 0, true, true}, 0.298, bank, Channel::Mix, -50.0, 0.0,
         "--start 0.298 --trim-silence --normalize"},
        {shortMono, {{Qt::Key_End}, "", 2, false, false}, 0.0, 1.0, Channel::Mix, std::nullopt, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        bool channelEnabled = false;
        const TLImportOptions options = chosen(c.path, c.choices, &channelEnabled);
        const std::string row = std::to_string(&c - cases);
        EXPECT_DOUBLE_EQ(options.startSeconds, c.start) << row;
        EXPECT_DOUBLE_EQ(options.lengthSeconds.value_or(-1), c.length) << row;
        EXPECT_EQ(options.channel, c.channel) << row;
        EXPECT_EQ(channelEnabled, c.path == stereo) << row;
        EXPECT_EQ(options.trimSilenceDbfs, c.trim) << row;
        EXPECT_EQ(options.normalizeDbfs, c.normalize) << row;
        EXPECT_EQ(options.resampling, TLImportOptions::Resampling::Linear) << row;
        // What OK imports (the window's import is this read and store).
        TLOrvane orvane(FactoryImage::samples());
        ASSERT_EQ(TLSampleImporter::importInto(orvane, 0, c.path, options).status, TLImportedSound::Status::Imported);
        EXPECT_EQ(orvane.mSamples[0], importedByTheCommandLine(folder, c.path, c.commandLine)) << row;
    }
}

TEST(QtImportRegionDialog, ARefusedFileSaysWhyAndALongOneClosesWhileBeingRead)
{
    offscreenApplication();
    TestFolder folder;
    KTQtImportRegionDialog refused(nullptr, QString::fromStdString(folder.write("notes.wav", {'h', 'i', '!', '!'})),
                                   {}, {});
    refused.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return refused.findChild<QLabel*>()->text().contains("cannot be imported"); }));
    EXPECT_FALSE(refused.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());

    // A 2 GB WAV, sparse on disk: 16-bit stereo at 44.1 kHz, 3.4 hours.
    Bytes header = {'R', 'I', 'F', 'F', 0x24, 0, 0, 0x80, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2,
                    0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0x80};
    const std::string big = folder.write("long.wav", header);
    std::filesystem::resize_file(big, header.size() + 0x80000000ULL);
    const auto opened = std::chrono::steady_clock::now();
    KTQtImportRegionDialog dialog(nullptr, QString::fromStdString(big), {}, {});
    dialog.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.overview().frames == 0x20000000ULL; }));
    QTest::keyClick(dialog.findChild<KTQtRegionOverview*>(), Qt::Key_End);
    EXPECT_NEAR(dialog.options().startSeconds, 0x20000000 / 44100.0 - 65536 / 44100.0, 0.001);
    dialog.reject();
    EXPECT_FALSE(dialog.overview().complete());
    EXPECT_LT(std::chrono::steady_clock::now() - opened, std::chrono::seconds(10));
}

} // namespace
