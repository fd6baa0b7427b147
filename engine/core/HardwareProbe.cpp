#include "engine/core/HardwareProbe.h"

#include <sys/sysinfo.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/core/FileSystem.h"

namespace {

HardwareProbe* g_probe = nullptr;

bool readFile(const std::filesystem::path& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return true;
}

std::string trimmed(std::string text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    size_t start = 0;
    while (start < text.size() && blank(text[start])) ++start;
    return text.substr(start);
}

}  // namespace

bool meetsRequirements(const HardwareFigures& required, const HardwareFigures& measured) {
    if (measured.hasCpu && measured.cpuMhz < required.cpuMhz) return false;
    if (measured.hasSystemMemory && measured.systemMemory < required.systemMemory) return false;
    if (measured.hasVideoMemory && measured.videoMemory < required.videoMemory) return false;
    return true;
}

bool parseCpuInfoMhz(const std::string& cpuinfo, uint32_t* mhz) {
    std::istringstream in(cpuinfo);
    std::string line;
    while (std::getline(in, line)) {
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        if (trimmed(line.substr(0, colon)) != "cpu MHz") continue;
        std::istringstream value(line.substr(colon + 1));
        value.imbue(std::locale::classic());
        double v = 0;
        if (!(value >> v) || !(v >= 1.0) || v > 1.0e6) return false;
        *mhz = static_cast<uint32_t>(std::lround(v));
        return true;  // the first processor only
    }
    return false;
}

bool parseCpuFreqKhz(const std::string& text, uint32_t* mhz) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    uint64_t khz = 0;
    if (!(in >> khz) || khz < 1000 || khz > 1000000000ull) return false;
    *mhz = static_cast<uint32_t>((khz + 500) / 1000);
    return true;
}

bool HardwareProbe::query(HardwareFigures& measured) {
    std::string text;
    uint32_t mhz = 0;
    if (readFile("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", &text) && parseCpuFreqKhz(text, &mhz)) {
        measured.cpuMhz = mhz;
        measured.hasCpu = true;
    } else if (readFile("/proc/cpuinfo", &text) && parseCpuInfoMhz(text, &mhz)) {
        measured.cpuMhz = mhz;
        measured.hasCpu = true;
    }

    struct sysinfo info {};
    if (sysinfo(&info) == 0 && info.totalram > 0) {
        measured.systemMemory = static_cast<int64_t>(info.totalram) * static_cast<int64_t>(info.mem_unit ? info.mem_unit : 1);
        measured.hasSystemMemory = true;
    }

    // Drivers that tell their dedicated memory (amdgpu and others) do it here, in bytes.
    for (const std::string& card : listFolder("/sys/class/drm")) {
        if (readFile(std::filesystem::path("/sys/class/drm") / card / "device" / "mem_info_vram_total", &text)) {
            std::istringstream in(text);
            int64_t bytes = 0;
            if (in >> bytes && bytes > 0) {
                measured.videoMemory = bytes;
                measured.hasVideoMemory = true;
                break;
            }
        }
    }
    return measured.hasCpu || measured.hasSystemMemory || measured.hasVideoMemory;
}

bool HardwareProbe::isLaptop() {
    std::string text;
    for (const std::string& name : listFolder("/sys/class/power_supply")) {
        const std::filesystem::path supply = std::filesystem::path("/sys/class/power_supply") / name;
        if (!readFile(supply / "type", &text) || trimmed(text) != "Battery") continue;
        // Batteries of devices (mice, keyboards) do not power the system.
        if (readFile(supply / "scope", &text) && trimmed(text) == "Device") continue;
        return true;
    }
    return false;
}

int HardwareProbe::getOsClass() { return 1; }

HardwareProbe* getHardwareProbe() {
    static HardwareProbe linuxProbe;
    return g_probe ? g_probe : &linuxProbe;
}

void setHardwareProbe(HardwareProbe* probe) { g_probe = probe; }
