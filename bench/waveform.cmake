# The waveform view's repaint of a full bank, and the Import Region dialog's
# opening on a 2 GB file; both need the Qt layer.
if(TARGET app_qt)
  orvane_add_bench(waveform_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WaveformBenchmark.cpp LIBS app_qt)
  orvane_add_bench(import_region_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ImportRegionBenchmark.cpp LIBS app_qt)
endif()
