#include "link/emulator/ProcessorState.h"

#include "model/DeviceMemory.h"
#include "model/SoundFieldGeometry.h"

#include <algorithm>

namespace {
constexpr size_t kGeometryAddress = 945;
} // namespace

ProcessorSetting ProcessorSetting::Factory()
{
    ProcessorSetting s;
    s.params = ParameterSet::Factory();
    MemoryMirror bands(0, static_cast<size_t>(kDeviceImageSize));
    FillStartupBandTable(bands);
    const std::vector<uint8_t> image = bands.Snapshot();
    std::copy(image.begin(), image.end(), s.memory.begin());
    // The room of "Reset all": 4 m x 4 m, the listener in the middle.
    const auto geometry = EncodeSoundFieldGeometry(DefaultSoundFieldGeometry());
    std::copy(geometry.begin(), geometry.end(), s.memory.begin() + kGeometryAddress);
    // Speaker levels (965..996) and the mic boost level (997..998) stay 0 dB: all zero bytes.
    return s;
}

ProcessorSetting ProcessorSetting::Blank()
{
    ProcessorSetting s;
    s.params = ParameterSet::Factory();
    s.memory.fill(0xFF);
    return s;
}

std::array<uint8_t, kMachineSettingsSize> FactoryMachineSettings()
{
    // By power; mic and music start volumes 50; maxima 99; panel unlocked; power-on mode Auto.
    return {0, 50, 50, 99, 99, 0, 0, 0, 0, 0, 0, 0, 0};
}

std::array<uint8_t, kRemoteKeyTableSize> FactoryRemoteKeyTable()
{
    // The remote supplied with the processor: code byte 0x80, keys 0x10..0x1E.
    std::array<uint8_t, kRemoteKeyTableSize> t{};
    t[0] = 0x80;
    for (size_t i = 1; i < t.size(); ++i) {
        t[i] = static_cast<uint8_t>(0x0F + i);
    }
    return t;
}

ProcessorState ProcessorState::Factory()
{
    ProcessorState st;
    st.working = ProcessorSetting::Factory();
    st.modes.fill(st.working);
    for (int m = 0; m < kProcessorModeCount; ++m) {
        st.SetFactoryName(m);
    }
    st.machineSettings = FactoryMachineSettings();
    st.keyTable = FactoryRemoteKeyTable();
    return st;
}

ProcessorState ProcessorState::Blank()
{
    ProcessorState st = Factory();
    st.working = ProcessorSetting::Blank();
    st.modes.fill(st.working);
    st.names.fill(0xFF);
    return st;
}

void ProcessorState::SetFactoryName(int mode)
{
    if (mode < 0 || mode >= kProcessorModeCount) {
        return;
    }
    const std::string name = "User " + std::to_string(mode + 1);
    uint8_t* slot = names.data() + static_cast<size_t>(mode) * kModeNameSlotSize;
    std::fill_n(slot, kModeNameSlotSize, uint8_t{0});
    for (size_t i = 0; i < name.size(); ++i) {
        slot[2 * i + 1] = static_cast<uint8_t>(name[i]);
    }
}

std::string ProcessorState::ModeName(int mode) const
{
    std::string out;
    if (mode < 0 || mode >= kProcessorModeCount) {
        return out;
    }
    const uint8_t* slot = names.data() + static_cast<size_t>(mode) * kModeNameSlotSize;
    for (size_t i = 0; i + 1 < kModeNameSlotSize; i += 2) {
        const unsigned unit = static_cast<unsigned>(slot[i] << 8 | slot[i + 1]);
        if (unit == 0 || unit == 0xFFFF) {
            break;
        }
        out.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return out;
}
