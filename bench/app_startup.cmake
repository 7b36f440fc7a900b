# Cold start to the main window shown, under Xvfb, through a harness that runs
# the program's own entry.
if(TARGET app_qt)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(OrvaneEditorHarness ${CMAKE_CURRENT_SOURCE_DIR}/OrvaneEditorHarness.cpp)
  target_link_libraries(OrvaneEditorHarness PRIVATE app_qt Qt6::Test)
  orvane_add_bench(app_startup_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/AppStartupBenchmark.cpp)
  target_compile_definitions(app_startup_bench PRIVATE ORVANE_HARNESS="$<TARGET_FILE:OrvaneEditorHarness>")
  add_dependencies(app_startup_bench OrvaneEditorHarness)
endif()
