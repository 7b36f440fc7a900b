#pragma once

#include "app/platform/KTRecordSheet.h"

#include <QDialog>

class KTQtLevelMeter;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

// The record sheet: a window-modal dialog over the main window with the input's
// name, the level meter, the threshold and Record, Stop and Cancel.
class KTQtRecordSheet final : public QDialog, public KTRecordSheet {
    Q_OBJECT

public:
    explicit KTQtRecordSheet(QWidget* mainWindow);

    void begin(const std::string& inputName, Actions actions) override;
    void showLevel(double peakDbfs, bool clipped) override;
    void showState(const std::string& text, bool recording) override;
    void end() override;

    KTQtLevelMeter& meter() const { return *mMeter; }
    QCheckBox& thresholdOn() const { return *mThresholdOn; }
    QDoubleSpinBox& threshold() const { return *mThreshold; }
    QPushButton& recordButton() const { return *mRecord; }
    QPushButton& stopButton() const { return *mStop; }
    QLabel& state() const { return *mState; }

protected:
    void reject() override;

private:
    Actions mActions;
    QLabel* mInput;
    KTQtLevelMeter* mMeter;
    QCheckBox* mThresholdOn;
    QDoubleSpinBox* mThreshold;
    QLabel* mState;
    QPushButton* mRecord;
    QPushButton* mStop;
    QPushButton* mCancel;
};
