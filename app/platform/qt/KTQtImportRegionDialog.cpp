#include "app/platform/qt/KTQtImportRegionDialog.h"

#include "app/platform/qt/KTQtRegionOverview.h"
#include "device/TLOrvane.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>

#include <chrono>
#include <cmath>

namespace {

constexpr int kProgressSteps = 1000;
// While the file is read, its columns reach the window at most this often.
constexpr auto kPostInterval = std::chrono::milliseconds(40);
// The start's limit until the file's length is known.
constexpr double kLargestStart = 1e7;

QString channelsText(std::uint16_t channels)
{
    if (channels == 1)
        return KTQtImportRegionDialog::tr("mono");
    if (channels == 2)
        return KTQtImportRegionDialog::tr("stereo");
    return KTQtImportRegionDialog::tr("%1 channels").arg(channels);
}

QString formatText(const TLFileOverview& overview)
{
    const QLocale english(QLocale::English);
    const QString seconds = english.toString(overview.seconds(), 'f', 3);
    if (overview.raw)
        return KTQtImportRegionDialog::tr("Not an AIFF or WAV file: its bytes are taken as 16-bit samples at "
                                          "44,100 Hz (%1 s).")
            .arg(seconds);
    return KTQtImportRegionDialog::tr("%1 s, %2 Hz, %3.")
        .arg(seconds, english.toString(overview.sampleRate, 'f', 0), channelsText(overview.channels));
}

} // namespace

double KTQtImportRegionDialog::windowSeconds()
{
    return static_cast<double>(TLOrvane::kSamplesPerBank) / TLOrvane::kSampleRate;
}

KTQtImportRegionDialog::KTQtImportRegionDialog(QWidget* parent, const QString& path, PlayFunction play,
                                               StopFunction stop)
    : QDialog(parent)
    , mPlay(std::move(play))
    , mStop(std::move(stop))
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Import Region from %1").arg(QFileInfo(path).fileName()));
    buildWidgets();
    buildLayout();
    mPlayEnd.setSingleShot(true);
    connect(&mPlayEnd, &QTimer::timeout, this, [this] { setPlaying(false); });
    startReading(path);
}

KTQtImportRegionDialog::~KTQtImportRegionDialog()
{
    if (mPlaying && mStop)
        mStop();
    stopReading();
}

void KTQtImportRegionDialog::buildWidgets()
{
    // Made in the order Tab visits them.
    mLabel_Format = new QLabel(tr("Reading the file…"), this);
    mLabel_Format->setWordWrap(true);
    mOverviewView = new KTQtRegionOverview(this);
    mOverviewView->setWindowLength(windowSeconds());
    mProgress = new QProgressBar(this);
    mProgress->setRange(0, kProgressSteps);
    mProgress->setFormat(tr("Reading the file: %p%"));
    mProgress->setAccessibleName(tr("Reading the file"));
    mStart = new QDoubleSpinBox(this);
    mStart->setDecimals(3);
    mStart->setRange(0.0, kLargestStart);
    mStart->setSingleStep(0.1);
    mStart->setSuffix(tr(" s"));
    mStart->setAccessibleName(tr("Start in the file, in seconds"));
    mChannel = new QComboBox(this);
    mChannel->addItems({tr("Mix"), tr("Left"), tr("Right")});
    mChannel->setAccessibleName(tr("Channel"));
    mTrim = new QCheckBox(tr("&Trim Leading Silence"), this);
    mNormalize = new QCheckBox(tr("&Normalize"), this);
    mPlayButton = new QPushButton(tr("&Play"), this);
    mPlayButton->setAutoDefault(false);
    mPlayButton->setAccessibleDescription(tr("Plays the chosen part, or stops it"));
    mPlayButton->setEnabled(false);
    mButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    mButtons->button(QDialogButtonBox::Ok)->setText(tr("&Import"));
    mButtons->button(QDialogButtonBox::Ok)->setEnabled(false);

    connect(mOverviewView, &KTQtRegionOverview::windowMoved, mStart, &QDoubleSpinBox::setValue);
    connect(mStart, &QDoubleSpinBox::valueChanged, mOverviewView, &KTQtRegionOverview::setWindowStart);
    connect(mPlayButton, &QPushButton::clicked, this, &KTQtImportRegionDialog::playOrStop);
    connect(mButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(mButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void KTQtImportRegionDialog::buildLayout()
{
    auto* startLabel = new QLabel(tr("&Start:"), this);
    startLabel->setBuddy(mStart);
    auto* channelLabel = new QLabel(tr("C&hannel:"), this);
    channelLabel->setBuddy(mChannel);

    auto* choices = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(startLabel), static_cast<QWidget*>(mStart),
                            static_cast<QWidget*>(channelLabel), static_cast<QWidget*>(mChannel)})
        choices->addWidget(widget);
    choices->addStretch(1);
    choices->addWidget(mTrim);
    choices->addWidget(mNormalize);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(mPlayButton);
    bottom->addStretch(1);
    bottom->addWidget(mButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mLabel_Format);
    layout->addWidget(mOverviewView, 1);
    layout->addWidget(mProgress);
    layout->addLayout(choices);
    layout->addLayout(bottom);
    resize(720, 360);
}

void KTQtImportRegionDialog::startReading(const QString& path)
{
    const std::filesystem::path file = QFile::encodeName(path).toStdString();
    mReader = std::thread([this, file] {
        auto posted = std::chrono::steady_clock::now() - kPostInterval;
        const TLFileOverview::Progress progress = [&](const TLFileOverview& sofar, double fraction) {
            const auto now = std::chrono::steady_clock::now();
            if (fraction > 0.0 && now - posted < kPostInterval)
                return;
            posted = now;
            QMetaObject::invokeMethod(this, [this, sofar, fraction] { showOverview(sofar, fraction); },
                                      Qt::QueuedConnection);
        };
        const TLFileOverview overview = TLFileOverview::read(file, kOverviewColumns, mCancel, progress);
        QMetaObject::invokeMethod(this, [this, overview] { showOverview(overview, 1.0); }, Qt::QueuedConnection);
    });
}

void KTQtImportRegionDialog::stopReading()
{
    mCancel = true;
    if (mReader.joinable())
        mReader.join();
}

void KTQtImportRegionDialog::showOverview(const TLFileOverview& overview, double fraction)
{
    mOverview = overview;
    mOverviewView->setOverview(overview);
    mProgress->setValue(static_cast<int>(std::lround(fraction * kProgressSteps)));
    mProgress->setVisible(overview.status == TLFileOverview::Status::Imported && !overview.complete());
    showFormat();
}

void KTQtImportRegionDialog::showFormat()
{
    const bool usable = mOverview.status == TLFileOverview::Status::Imported;
    mButtons->button(QDialogButtonBox::Ok)->setEnabled(usable);
    mPlayButton->setEnabled(usable && mPlay);
    if (!usable) {
        mLabel_Format->setText(tr("This file cannot be imported: %1.").arg(QString::fromStdString(mOverview.reason)));
        return;
    }
    QString text = formatText(mOverview);
    if (!mOverview.reason.empty())
        text += ' ' + tr("The file %1.").arg(QString::fromStdString(mOverview.reason));
    mLabel_Format->setText(text);
    mChannel->setEnabled(mOverview.channels >= 2);
    if (mOverview.channels < 2)
        mChannel->setCurrentIndex(0);
    if (const std::optional<double> last = mOverviewView->lastStart())
        mStart->setMaximum(*last);
}

TLImportOptions KTQtImportRegionDialog::options() const
{
    TLImportOptions options;
    options.startSeconds = mStart->value();
    // A bank's length, or what is left of the file after the start.
    options.lengthSeconds = windowSeconds();
    if (mOverviewView->lastStart())
        options.lengthSeconds = std::min(windowSeconds(), std::max(0.0, mOverview.seconds() - options.startSeconds));
    if (mChannel->isEnabled())
        options.channel = static_cast<TLImportOptions::Channel>(mChannel->currentIndex());
    if (mTrim->isChecked())
        options.trimSilenceDbfs = TLImportOptions::kDefaultTrimDbfs;
    if (mNormalize->isChecked())
        options.normalizeDbfs = TLImportOptions::kDefaultNormalizeDbfs;
    return options;
}

void KTQtImportRegionDialog::playOrStop()
{
    if (mPlaying) {
        if (mStop)
            mStop();
        return setPlaying(false);
    }
    const double seconds = mPlay ? mPlay(options()) : 0.0;
    if (!(seconds > 0.0))
        return;
    setPlaying(true);
    mPlayEnd.start(static_cast<int>(std::ceil(std::min(seconds, 3600.0) * 1000.0)));
}

void KTQtImportRegionDialog::setPlaying(bool playing)
{
    mPlaying = playing;
    mPlayButton->setText(playing ? tr("Sto&p") : tr("&Play"));
    if (!playing)
        mPlayEnd.stop();
}

void KTQtImportRegionDialog::done(int result)
{
    if (mPlaying && mStop)
        mStop();
    setPlaying(false);
    stopReading();
    QDialog::done(result);
}

std::optional<TLImportOptions> KTQtImportRegionDialog::run(QWidget* parent, const QString& path, PlayFunction play,
                                                           StopFunction stop)
{
    KTQtImportRegionDialog dialog(parent, path, std::move(play), std::move(stop));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.options();
}
