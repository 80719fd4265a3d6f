#include "operation/pairing.h"

#include <algorithm>

#include "hosts/data_module.h"
#include "operation/pairing_decoder.h"
#include "protocol/conversion_error.h"
#include "protocol/exchange.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"

namespace tarnwick {
namespace {

// One device kind: its address byte, the numbers cbDefence offers, and the
// fixed second address byte (none for detectors, which send their zone).
struct DeviceKind {
    const char* name;
    const char* addressByte;
    int first, last;
    const char* fixedByte;
};
constexpr DeviceKind kKinds[] = {
    {"遥控器", "00", 1, 4, "07"},
    {"探测器", "01", 7, 12, nullptr},
    {"巡更器", "02", 1, 6, "07"},
};
constexpr int kDetector = 1;
constexpr int kSubAddresses = 3;

std::vector<std::string> Numbers(int first, int last) {
    std::vector<std::string> out;
    for (int n = first; n <= last; ++n) out.push_back(std::to_string(n));
    return out;
}

// UTF-8 length of the leading characters that fill at most `bytes` GBK bytes
// (one byte for ASCII, two for every other character).
size_t Utf8PrefixOfGbkBytes(const std::string& text, size_t bytes) {
    size_t pos = 0, gbk = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        const size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const size_t width = lead < 0x80 ? 1 : 2;
        if (gbk + width > bytes) break;
        gbk += width;
        pos += len;
    }
    return std::min(pos, text.size());
}

}  // namespace

PairingWindow::PairingWindow(DataModule& tdm) : tdm_(tdm) {
    controls.Label("gbCodeMatch", "对码设置");
    std::vector<std::string> kinds;
    for (const DeviceKind& k : kKinds) kinds.push_back(k.name);
    Control& kind = controls.Combo("cbWirelessDevice", kinds);
    kind.index = 0;
    kind.caption = "设备类型：";
    controls.Combo("cbDefence", {}).caption = controls.Label("lblDefence", "防  区：").text;
    Control& address = controls.Combo("cbAddress", Numbers(1, kSubAddresses));
    address.index = 0;
    address.caption = controls.Label("lblAddress", "分地址：").text;
    controls.Button("bbtnCodeMatching", "对码");
    controls.Button("bbtnDeleteCodeMatch", "删除");
    controls.Button("bbtnClear", "清理");
    controls.Button("bbtnStopCodeMatching", "取消对码").enabled = false;
    controls.Button("bbtnQuit", "退出");
    controls.Add("memCMInfo", ControlKind::Memo).readOnly = true;
    KindChanged();

    controls.OnChange("cbWirelessDevice", [this] { KindChanged(); });
    controls.OnClick("bbtnCodeMatching", [this] { StartPairing(); });
    controls.OnClick("bbtnDeleteCodeMatch", [this] { DeletePairing(); });
    controls.OnClick("bbtnStopCodeMatching", [this] { CancelPairing(); });
    controls.OnClick("bbtnClear", [this] {
        controls["memCMInfo"].lines.clear();
        controls["memCMInfo"].lineColors.clear();
    });
    controls.OnClick("bbtnQuit", [this] {
        if (closeWindow) closeWindow();
    });
}

void PairingWindow::KindChanged() {
    Control& kind = controls["cbWirelessDevice"];
    if (kind.index < 0) kind.index = 0;
    const DeviceKind& k = kKinds[kind.index];
    Control& defence = controls["cbDefence"];
    defence.items = Numbers(k.first, k.last);
    defence.index = 0;
    const bool detector = kind.index == kDetector;
    controls["cbAddress"].visible = detector;
    controls["lblAddress"].visible = detector;
    if (detector) controls["cbAddress"].index = 0;
    controls.Changed();
}

std::string PairingWindow::DeviceAddress() const {
    const int kind = controls["cbWirelessDevice"].index;
    if (kind < 0 || kind >= static_cast<int>(std::size(kKinds)))
        throw ConversionError("no device kind chosen");
    const DeviceKind& k = kKinds[kind];
    const std::string number =
        ByteHex(static_cast<unsigned>(DecimalToInt(controls["cbDefence"].SelectedText())));
    if (k.fixedByte) return std::string(k.addressByte) + k.fixedByte + number;
    return std::string(k.addressByte) + number +
           ByteHex(static_cast<unsigned>(DecimalToInt(controls["cbAddress"].SelectedText())));
}

CommandEntry PairingWindow::PairRequest() const {
    return Request(kPairPair, std::string(kPairMark) + DeviceAddress());
}

CommandEntry PairingWindow::DeleteRequest() const {
    return Request(kDeletePairingPair, std::string(kDeletePairingMark) + DeviceAddress());
}

CommandEntry PairingWindow::PauseRequest() {
    return Request(kPausePairingPair, kPausePairingData);
}

void PairingWindow::SetIdle(bool idle) {
    busy_ = !idle;
    for (const char* name : {"gbCodeMatch", "cbWirelessDevice", "cbDefence", "cbAddress",
                             "bbtnCodeMatching", "bbtnDeleteCodeMatch", "bbtnClear", "bbtnQuit"})
        controls[name].enabled = idle;
}

std::string PairingWindow::Exchange(const CommandEntry& entry) {
    return tdm_.exchanger.ExchangeCommand(entry.frame, entry.pair);
}

void PairingWindow::StartPairing() {
    FlowScope flow(tdm_);
    try {
        const CommandEntry pair = PairRequest();
        cancelRequested = false;
        SetIdle(false);
        controls["bbtnStopCodeMatching"].enabled = true;
        controls.Changed();
        const std::string result = Exchange(pair);
        AddPairingLogLine(result);
        tdm_.op.Pause(kServePendingMs);
        tdm_.op.Pause(kServePendingMs);
        if (result.find("对码状态") != std::string::npos) {
            // A close or cancel during the exchange leaves no wait to run.
            const std::string report = cancelRequested ? std::string() : WaitForReport(pair.frame);
            if (!report.empty())
                AddPairingLogLine(DecodePairingReply(report, tdm_.clock.NowText()));
            else if (cancelRequested)
                AddPairingLogLine(tdm_.clock.NowText() + " 已取消对码.");
            else {
                PausePairing();
                AddPairingLogLine(tdm_.clock.NowText() + " 已停止对码.");
            }
        }
    } catch (const std::exception&) {
        // The log shows what the host answered; nothing more to report.
    }
    SetIdle(true);
    controls["bbtnStopCodeMatching"].enabled = false;
    progressVisible = false;
    controls.Changed();
}

std::string PairingWindow::WaitForReport(const std::string& frame) {
    progress = 0;
    progressVisible = true;
    controls.Changed();
    const std::string host = tdm_.session.CurrentHost();
    for (int i = 0; i < kPairingWaits; ++i) {
        const std::optional<Datagram> datagram = tdm_.client.ReceiveFrom(kPairingWaitMs);
        const std::string received =
            datagram ? NormalizeReceived(datagram->payload) : std::string();
        // Only a class-13 answer (reply command 00 … 0F) of the current host
        // is the report; nothing else ever stands in for it.
        if (datagram && datagram->from == host && Slice(received, 9, 11) == "130") return received;
        if (cancelRequested) return {};
        if (datagram) tdm_.trace.Add(StrayDatagramTrace(frame, ToUpper(datagram->payload)));
        ++progress;
        controls.Changed();
    }
    return {};
}

void PairingWindow::CancelPairing() {
    cancelRequested = true;
    PausePairing();
}

void PairingWindow::Close() {
    cancelRequested = true;
    PausePairing();
}

void PairingWindow::PausePairing() {
    try {
        Exchange(PauseRequest());
        tdm_.op.Pause(kServePendingMs);
    } catch (const std::exception&) {
        // The pause is sent for the host's sake; its answer is not used.
    }
}

void PairingWindow::DeletePairing() {
    FlowScope flow(tdm_);
    try {
        const CommandEntry entry = DeleteRequest();
        SetIdle(false);
        controls.Changed();
        AddPairingLogLine(Exchange(entry));
    } catch (const std::exception&) {
        // As with pairing, the log is the report.
    }
    SetIdle(true);
    controls.Changed();
}

void PairingWindow::AddPairingLogLine(const std::string& text) {
    if (text.empty()) return;
    const std::string line =
        text.substr(0, Utf8PrefixOfGbkBytes(text, kLogStampBytes + kLogTextBytes));
    uint32_t color = 0;
    if (text.find("成功") != std::string::npos) {
        color = kLogGreen;
        tdm_.op.Beep();
    } else if (text.find("失败") != std::string::npos || text.find("删除") != std::string::npos) {
        color = kLogRed;
    }
    Control& memo = controls["memCMInfo"];
    memo.lineColors.resize(memo.lines.size());
    memo.lines.push_back(line);
    memo.lineColors.push_back({Utf8PrefixOfGbkBytes(line, kLogStampBytes), color});
    controls.Changed();
}

}  // namespace tarnwick
