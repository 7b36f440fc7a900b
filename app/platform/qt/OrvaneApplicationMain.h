#pragma once

#include <functional>

class KTQtEditorWindows;

// The program's run: creates the application, the MIDI platform, the controller
// and its windows, runs init and awakeFromNib, shows the main window and runs
// the event loop. didFinishLaunching, when given, is called once the main window
// is shown (test harnesses use it). Returns the event loop's exit code.
int OrvaneApplicationMain(int argc, char** argv,
                          const std::function<void(KTQtEditorWindows&)>& didFinishLaunching = {});
