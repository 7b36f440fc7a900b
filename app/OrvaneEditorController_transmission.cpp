#include "app/OrvaneEditorController.h"

// Transmitting the selected bank or all banks to the instrument, with the
// progress sheet and its worker thread.

void OrvaneEditorController::send(void*)
{
}

void OrvaneEditorController::transmit()
{
}

void OrvaneEditorController::cancel(void*)
{
}

void OrvaneEditorController::SheetDidEndReturnCodeContextInfo(KTWindow*, int, void*)
{
}

void OrvaneEditorController::transmissionWorker(int, int, int, std::shared_ptr<KTMidiInterfaceTransmitter>)
{
}

void OrvaneEditorController::stopTransmissionWorker()
{
    mStopRequested = true;
    if (mTransmissionThread.joinable())
        mTransmissionThread.join();
    mStopRequested = false;
}
