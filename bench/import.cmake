orvane_add_bench(import_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/ImportBenchmark.cpp LIBS device)
