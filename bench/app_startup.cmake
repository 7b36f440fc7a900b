# Cold start to the main window shown, under Xvfb; needs the test harness.
if(TARGET OrvaneEditorHarness)
  orvane_add_bench(app_startup_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/AppStartupBenchmark.cpp)
  target_compile_definitions(app_startup_bench PRIVATE ORVANE_HARNESS="$<TARGET_FILE:OrvaneEditorHarness>")
  add_dependencies(app_startup_bench OrvaneEditorHarness)
endif()
