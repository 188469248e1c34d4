#pragma once
// A device session whose link state a test sets, and the decoding of recorded parameter
// writes: shared by the shell's tests and the pages' tests (which do not link the shell).

#include "model/Report.h"
#include "pageapi/DeviceSession.h"

#include <string>
#include <vector>

// One parameter write decoded from a report.
struct ParamWrite
{
    int block = 0;
    int param = 0;
    int count = 0;
    std::vector<float> floats;
    uint32_t firstWord = 0;
};

std::vector<ParamWrite> DecodeWrites(const std::vector<Report>& reports);

class FakeSession : public DeviceSession
{
public:
    bool connected = false;
    bool syncOpen = false;
    int mode = 0;
    int micMax = 99;
    int musicMax = 99;
    uint8_t status14 = 0;
    bool peak = true;
    std::vector<std::string> calls;

    bool IsConnected() const override { return connected; }
    int CurrentMode() const override { return mode; }
    std::string ModeName(int m) const override { return "Mode" + std::to_string(m + 1); }
    uint8_t StatusByte(int offset) const override { return offset == 14 ? status14 : 0; }
    int MicMaxVolume() const override { return micMax; }
    int MusicMaxVolume() const override { return musicMax; }
    std::string Model() const override { return "KW4620M"; }
    std::string McuVersion() const override { return "2013-01-01"; }
    std::string DspVersion() const override { return "2013-02-02"; }
    int CmdVersion() const override { return 21; }
    bool PeakPolling() const override { return peak; }
    bool SyncDialogShown() const override { return syncOpen; }
    void SetPeakPolling(bool on) override { peak = on; }
    void RecallMode(int m) override { calls.push_back("recall " + std::to_string(m)); }
    void StoreMode(int m, bool key) override
    {
        calls.push_back("store " + std::to_string(m) + (key ? " key" : " menu"));
    }
    void LoadModeFile() override { calls.push_back("load file"); }
    void SaveModeFile() override { calls.push_back("save file"); }
    void OpenDocument(const std::string& path) override { calls.push_back("open " + path); }
    void RestartProcessor() override { calls.push_back("restart"); }
    bool ConfirmClose() override { return true; }
    void Shutdown() override { calls.push_back("shutdown"); }
};
