orvane_add_bench(device_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/DeviceBenchmark.cpp LIBS device)
