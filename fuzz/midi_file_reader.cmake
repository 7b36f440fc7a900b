orvane_add_fuzzer(midi_file_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/MidiFileReaderFuzzer.cpp LIBS midi device)
