#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// The benchmark process's resident memory, as /proc/self/status gives it.
struct ProcessMemory {
    // Kilobytes from a "Name:   123 kB" line: VmRSS now, VmHWM the peak.
    static long kilobytes(const std::string& name)
    {
        std::ifstream status("/proc/self/status");
        const std::string key = name + ":";
        for (std::string line; std::getline(status, line);)
            if (line.compare(0, key.size(), key) == 0)
                return std::strtol(line.c_str() + key.size(), nullptr, 10);
        return 0;
    }
    // Sets the peak back to the current resident size.
    static void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }
};
