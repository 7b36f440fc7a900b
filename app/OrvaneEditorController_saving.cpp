#include "app/OrvaneEditorController.h"

// Saving the selected bank or all banks to a disk file.
void OrvaneEditorController::save(void*)
{
}
