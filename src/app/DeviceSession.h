#pragma once
// The shell's stand-in session; the interface itself is shared with the pages.

#include "pageapi/DeviceSession.h"

// No connection controller: the link state is shown as the link left it, and every command
// behaves as with the link closed.
class DisconnectedSession : public DeviceSession
{
public:
    explicit DisconnectedSession(UiPort& ui);

    bool IsConnected() const override;
    int CurrentMode() const override;
    std::string ModeName(int mode) const override;
    uint8_t StatusByte(int offset) const override;
    int MicMaxVolume() const override;
    int MusicMaxVolume() const override;
    std::string Model() const override;
    std::string McuVersion() const override;
    std::string DspVersion() const override;
    int CmdVersion() const override;
    bool PeakPolling() const override { return peakPolling_; }
    void SetPeakPolling(bool on) override { peakPolling_ = on; }

    void RecallMode(int) override {}
    void StoreMode(int, bool) override {}
    void LoadModeFile() override;
    void SaveModeFile() override;
    void OpenDocument(const std::string& path) override;
    void RestartProcessor() override {}
    bool ConfirmClose() override { return true; }
    void Shutdown() override {}

private:
    UiPort& ui_;
    bool peakPolling_ = true;
};
