// The folder is defined in its header; this file keeps it a source of its own for the test programs that list it.
#include "tests/audio/AudioTestFolder.h"
