orvane_add_fuzzer(aiff_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/AiffReaderFuzzer.cpp LIBS audio)
orvane_add_fuzzer(wave_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/WaveReaderFuzzer.cpp LIBS audio)
