#pragma once
#include <functional>
#include <string>

#include "hosts/page_model.h"
#include "protocol/command_entry.h"

namespace tarnwick {

class DataModule;

// Colours of the pairing log.
inline constexpr uint32_t kLogGreen = 0x008000;
inline constexpr uint32_t kLogRed = 0xFF0000;
// A log line keeps at most this many GBK bytes: the time stamp with its blank
// (left in the normal colour) and the text after it.
inline constexpr size_t kLogStampBytes = 20;
inline constexpr size_t kLogTextBytes = 100;

// TFormCodeMatch without its widgets: the device slot lists, pairing with its
// wait for the host's learning report, deletion, and the coloured log.
class PairingWindow {
  public:
    explicit PairingWindow(DataModule& tdm);

    // The three bytes of the chosen slot as six hex digits.
    std::string DeviceAddress() const;
    // The requests for the chosen slot and the pause.
    CommandEntry PairRequest() const;
    CommandEntry DeleteRequest() const;
    static CommandEntry PauseRequest();

    // bbtnCodeMatching, bbtnDeleteCodeMatch, bbtnStopCodeMatching.
    void StartPairing();
    void DeletePairing();
    void CancelPairing();
    // Tells the host to leave pairing state; runs whenever the window closes.
    void PausePairing();
    // The window closes, at any time: the host is told to pause, and a
    // pairing wait that runs ends at its next second, as by the cancel button.
    void Close();
    void AddPairingLogLine(const std::string& text);

    // A pairing or a deletion runs.
    bool Busy() const { return busy_; }

    PageModel controls;
    bool cancelRequested = false;  // the tag of bbtnStopCodeMatching
    bool progressVisible = false;  // PbarCodeMatching, 0 … kPairingWaits
    int progress = 0;
    // bbtnQuit: the window closes (and its closing pauses pairing).
    std::function<void()> closeWindow;

  private:
    void KindChanged();
    void SetIdle(bool idle);
    // Waits for the learning report; the class-13 datagram, or empty text.
    std::string WaitForReport(const std::string& frame);
    std::string Exchange(const CommandEntry& entry);

    DataModule& tdm_;
    bool busy_ = false;
};

}  // namespace tarnwick
