orvane_add_fuzzer(audio_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/AudioReaderFuzzer.cpp LIBS audio)
