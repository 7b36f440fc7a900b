orvane_add_bench(device_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/DeviceBenchmark.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SoundOperationsBenchmark.cpp LIBS device)
