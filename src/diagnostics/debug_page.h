#pragma once
#include "hosts/page_branch.h"
#include "hosts/refresh_options.h"

namespace tarnwick {

class DataModule;
class HostWindow;
class TraceMemo;

// TabSheet4, the protocol workbench: hand-made frames to one address or as a
// broadcast, checksum tools, frame check, draining the command socket, one
// programming section read, and the two options of the refresh cycle.
class DebugPage : public PageBranch, public RefreshOptions {
  public:
    explicit DebugPage(HostWindow& window);
    bool LoadsAfterRefresh() const override { return false; }
    CommandList ReadList() override { return {}; }

    bool TraceStoreAfterRefresh() const override;  // chkPrintGs
    bool RefreshOnPageChange() const override;     // chkAutoRefresh
    // The trace the page's memo shows.
    TraceMemo& Trace() const;

    // HexToString1 of the memo's pop-up menu, on the selected text.
    void ShowHexAsText(const std::string& selected);

  private:
    void SendUdp();
    void SendBroadcast();
    void ShowChecksum();
    void ShowCheckCode();
    void CheckFrame();
    void ReadBuffer();
    void ReadSection();
    void Probe();
    std::string NoResponseLine() const;

    DataModule& tdm_;
};

// The sample in edtData: a write of programming section 07.
std::string SampleDebugFrame();

}  // namespace tarnwick
