#include "app/OrvaneEditorController.h"

// Importing an audio file into the selected bank.
void OrvaneEditorController::openSample(void*)
{
}
