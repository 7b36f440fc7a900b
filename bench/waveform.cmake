# The waveform view's repaint of a full bank; needs the Qt layer.
if(TARGET app_qt)
  orvane_add_bench(waveform_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WaveformBenchmark.cpp LIBS app_qt)
endif()
