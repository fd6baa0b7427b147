#pragma once
// What the machine offers, for the hardware-requirements check: processor clock, memory and
// video memory, the kind of machine (desktop or laptop) and the operating-system class. The
// Linux probe reads /proc/cpuinfo (or the cpufreq maximum), sysinfo(), the DRM driver's video
// memory where it tells it, and /sys/class/power_supply for a battery. A figure the probe
// cannot find stays unknown, and an unknown figure counts as sufficient.

#include <cstdint>
#include <string>

struct HardwareFigures {
    uint32_t cpuMhz = 0;         // megahertz
    int64_t systemMemory = 0;    // bytes
    int64_t videoMemory = 0;     // bytes
    bool hasCpu = false;         // the figure is known
    bool hasSystemMemory = false;
    bool hasVideoMemory = false;
};

// True when every known measured figure is at least the required one (requirements are all
// known; unknown measured figures pass).
bool meetsRequirements(const HardwareFigures& required, const HardwareFigures& measured);

class HardwareProbe {
public:
    virtual ~HardwareProbe() = default;
    // Fills the figures it can find; false when nothing at all can be measured.
    virtual bool query(HardwareFigures& measured);
    // True when the machine runs on a battery-powered system (a laptop).
    virtual bool isLaptop();
    // 0 skips the check, 2 uses the "Vista" requirement sections, anything else the "NT" ones.
    // This system is of class 1.
    virtual int getOsClass();
};

// The probe the start-up check uses: the Linux probe, or the one set by a test (null
// restores the default). The probe is not owned.
HardwareProbe* getHardwareProbe();
void setHardwareProbe(HardwareProbe* probe);

// Parsers of the probe's sources, exposed for tests. Each returns false when the text holds
// no usable figure.
bool parseCpuInfoMhz(const std::string& cpuinfo, uint32_t* mhz);
bool parseCpuFreqKhz(const std::string& text, uint32_t* mhz);
