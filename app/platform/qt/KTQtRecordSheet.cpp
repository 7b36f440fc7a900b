#include "app/platform/qt/KTQtRecordSheet.h"

#include "app/platform/qt/KTQtLevelMeter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

KTQtRecordSheet::KTQtRecordSheet(QWidget* mainWindow)
    : QDialog(mainWindow)
    , mInput(new QLabel(this))
    , mMeter(new KTQtLevelMeter(this))
    , mThresholdOn(new QCheckBox(tr("Start at a &level of"), this))
    , mThreshold(new QDoubleSpinBox(this))
    , mState(new QLabel(this))
    , mRecord(new QPushButton(tr("&Record"), this))
    , mStop(new QPushButton(tr("&Stop"), this))
    , mCancel(new QPushButton(tr("Cancel"), this))
{
    setWindowTitle(tr("Record"));
    setWindowModality(Qt::WindowModal);
    mThreshold->setRange(-60.0, 0.0);
    mThreshold->setValue(-30.0);
    mThreshold->setSuffix(tr(" dBFS"));
    mThreshold->setAccessibleName(tr("Threshold"));
    mThreshold->setToolTip(tr("Recording starts when the input first reaches this level, keeping 10 ms before it"));
    mThresholdOn->setToolTip(mThreshold->toolTip());
    mThreshold->setEnabled(false);
    mState->setTextFormat(Qt::PlainText);
    mState->setWordWrap(true);
    mInput->setTextFormat(Qt::PlainText);

    auto* form = new QFormLayout;
    form->addRow(tr("Input:"), mInput);
    form->addRow(tr("Level:"), mMeter);
    auto* threshold = new QHBoxLayout;
    threshold->addWidget(mThresholdOn);
    threshold->addWidget(mThreshold);
    threshold->addStretch(1);
    form->addRow(threshold);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(mRecord, QDialogButtonBox::ActionRole);
    buttons->addButton(mStop, QDialogButtonBox::ActionRole);
    buttons->addButton(mCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(mState);
    layout->addWidget(buttons);

    connect(mThresholdOn, &QCheckBox::toggled, mThreshold, &QWidget::setEnabled);
    connect(mRecord, &QPushButton::clicked, this, [this] {
        mRecord->setEnabled(false);
        mThresholdOn->setEnabled(false);
        mThreshold->setEnabled(false);
        mStop->setEnabled(true);
        if (mActions.record)
            mActions.record(mThresholdOn->isChecked() ? std::optional<double>(mThreshold->value()) : std::nullopt);
    });
    connect(mStop, &QPushButton::clicked, this, [this] {
        if (mActions.stop)
            mActions.stop();
    });
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void KTQtRecordSheet::begin(const std::string& inputName, Actions actions)
{
    mActions = std::move(actions);
    mInput->setText(QString::fromStdString(inputName));
    mRecord->setEnabled(true);
    mThresholdOn->setEnabled(true);
    mThreshold->setEnabled(mThresholdOn->isChecked());
    mStop->setEnabled(false);
    mMeter->showLevel(-INFINITY, false);
    adjustSize();
    show();
    mRecord->setFocus();
}

void KTQtRecordSheet::showLevel(double peakDbfs, bool clipped)
{
    mMeter->showLevel(peakDbfs, clipped);
}

void KTQtRecordSheet::showState(const std::string& text, bool)
{
    mState->setText(QString::fromStdString(text));
}

void KTQtRecordSheet::end()
{
    mActions = {};
    hide();
}

void KTQtRecordSheet::reject()
{
    // Escape, Cancel or the window's close button: the take is not kept.
    const Actions actions = mActions;
    if (actions.cancel)
        actions.cancel();
    hide();
}
