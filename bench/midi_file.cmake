orvane_add_bench(midi_file_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/MidiFileBenchmark.cpp LIBS midi device resources)
