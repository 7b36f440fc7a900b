#pragma once

#include "device/TLFileOverview.h"
#include "device/TLImportOptions.h"

#include <QDialog>
#include <QTimer>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

class KTQtRegionOverview;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;

// Chooses the part of an audio file that goes into a bank: the whole file's
// overview with a window one bank long (1.486 s of the file), its start in
// seconds, the channel, Trim Leading Silence and Normalize, and Play for the
// chosen part. Window-modal. It shows at once: the file is read for the
// overview on a thread of the dialog's own, whose columns arrive through the
// event loop while the window can already be moved, and which is cancelled
// and joined when the dialog closes.
class KTQtImportRegionDialog final : public QDialog {
    Q_OBJECT

public:
    // Starts playing what the options take from the file; returns how many
    // seconds that plays, 0 when nothing plays.
    using PlayFunction = std::function<double(const TLImportOptions&)>;
    // Stops what Play started.
    using StopFunction = std::function<void()>;

    static constexpr std::size_t kOverviewColumns = 2000;
    // A bank's length, in seconds of the file.
    static double windowSeconds();

    KTQtImportRegionDialog(QWidget* parent, const QString& path, PlayFunction play, StopFunction stop);
    ~KTQtImportRegionDialog() override;

    // The choices as import options; the resampling is the caller's to set.
    TLImportOptions options() const;
    // The overview as it has arrived so far.
    const TLFileOverview& overview() const { return mOverview; }

    // Shows the dialog for the file and waits; the options when the user chose Import.
    static std::optional<TLImportOptions> run(QWidget* parent, const QString& path, PlayFunction play,
                                              StopFunction stop);

public slots:
    void done(int result) override;

private:
    void buildWidgets();
    void buildLayout();
    void startReading(const QString& path);
    void stopReading();
    void showOverview(const TLFileOverview& overview, double fraction);
    void showFormat();
    void playOrStop();
    void setPlaying(bool playing);

    PlayFunction mPlay;
    StopFunction mStop;
    TLFileOverview mOverview;
    std::atomic<bool> mCancel{false};
    std::thread mReader;
    bool mPlaying = false;
    // Turns Stop back into Play when the part has played to its end.
    QTimer mPlayEnd;

    QLabel* mLabel_Format = nullptr;
    KTQtRegionOverview* mOverviewView = nullptr;
    QProgressBar* mProgress = nullptr;
    QDoubleSpinBox* mStart = nullptr;
    QComboBox* mChannel = nullptr;
    QCheckBox* mTrim = nullptr;
    QCheckBox* mNormalize = nullptr;
    QPushButton* mPlayButton = nullptr;
    QDialogButtonBox* mButtons = nullptr;
};
