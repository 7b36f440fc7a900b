orvane_add_bench(recorder_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecorderBenchmark.cpp LIBS audioin)
