#include "app/OrvaneEditorController.h"

// Loading a disk file into the banks.
void OrvaneEditorController::openDisk(void*)
{
}
