orvane_add_bench(audio_conversion_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AudioConversionBenchmark.cpp
  LIBS audio)
