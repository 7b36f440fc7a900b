orvane_add_bench(cli_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/CliBenchmark.cpp LIBS device resources)
