# Saving, loading and importing through the controller, with the doubles of
# the controller tests answering the panels.
if(TARGET app_doubles)
  orvane_add_bench(workflows_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WorkflowsBenchmark.cpp
    LIBS app_doubles resources)
endif()
