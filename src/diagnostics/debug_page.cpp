#include "diagnostics/debug_page.h"

#include "hosts/data_module.h"
#include "programming/programming_requests.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"

namespace tarnwick {
namespace {

constexpr int kBroadcastSilences = 3;
constexpr int kBroadcastWaits = 103;
constexpr int kBufferReads = 10;

// Slices of a broadcast answer shown with their text, as hex digit ranges.
constexpr std::pair<size_t, size_t> kAnswerSlices[] = {{13, 112},  {113, 142}, {143, 152},
                                                       {153, 192}, {193, 194}, {195, 254}};

}  // namespace

std::string SampleDebugFrame() {
    // Section 07: no stay-arming zones, siren address 0, no cross zones.
    const std::string body = "000000000000000000000000000000000000000000000000000000000000";
    return BuildFrame("11", "82", "0907" + body.substr(0, 58));
}

DebugPage::DebugPage(DataModule& tdm) : PageBranch("TabSheet4", "调试"), tdm_(tdm) {
    PageModel& c = Controls();
    c.Label("Label85", "接收数据：");
    Control& data = c.Edit("edtData", 0, KeyFilter::UpperCase);
    data.text = SampleDebugFrame();
    data.caption = "数据:";
    Control& ip = c.Edit("edtIP", 15);
    ip.text = "192.168.1.10";
    ip.caption = "目标地址:";
    Control& port = c.Edit("edtPort", 5, KeyFilter::Digits);
    port.text = std::to_string(kHostPort);
    port.caption = "端口号:";
    port.enabled = false;
    c.Button("btnSendUDP", "定向发送UDP包");
    c.Button("btnSendBroadcast", "发送UDP广播包");
    c.Button("btnGetCheckSum", "校验和");
    c.Button("btnGetCheckCode", "校验码");
    c.Button("btnCheckNum", "校验数据");
    c.Button("BitBtn1", "清空");
    c.Button("btnReadUDPBuffer", "ReadBuffer");
    Control& section = c.Combo("Edit2", {"00", "01", "02", "03", "04", "05", "06", "07"});
    section.index = 0;
    section.caption = "编程项ID号:";
    c.Button("Button1", "读取报警主机编程内容");
    c.Button("Button2", "Button2");
    c.Check("chkAutoRefresh", "切换页面时自动更新数据").checked = true;
    c.Check("chkPrintGs", "打印Gs变量信息").checked = true;

    c.OnClick("btnSendUDP", [this] { SendUdp(); });
    c.OnClick("btnSendBroadcast", [this] { SendBroadcast(); });
    c.OnClick("btnGetCheckSum", [this] { ShowChecksum(); });
    c.OnClick("btnGetCheckCode", [this] { ShowCheckCode(); });
    c.OnClick("btnCheckNum", [this] { CheckFrame(); });
    c.OnClick("BitBtn1", [this] { tdm_.trace.Clear(); });
    c.OnClick("btnReadUDPBuffer", [this] { ReadBuffer(); });
    c.OnClick("Button1", [this] { ReadSection(); });
    c.OnClick("Button2", [this] { Probe(); });
    auto follow = [this] { tdm_.session.SetCurrentHost(Controls()["edtIP"].text); };
    c.OnChange("edtIP", follow);
    c.OnChange("edtPort", follow);
}

std::string DebugPage::NoResponseLine() const {
    return "No response received from the server after " +
           std::to_string(tdm_.client.ReceiveTimeoutMs()) + " millseconds.";
}

void DebugPage::SendUdp() {
    const std::string data = Controls()["edtData"].text;
    const std::string ip = Controls()["edtIP"].text;
    tdm_.trace.Add("Sending " + data + "  to " + ip);
    const int port = std::stoi(Controls()["edtPort"].text);
    tdm_.client.SendTo(ip, static_cast<uint16_t>(port), data);
    std::optional<std::string> reply = tdm_.client.Receive();
    if (reply && !reply->empty())
        tdm_.trace.Add(" Received: " + ToUpper(*reply));
    else
        tdm_.trace.Add(NoResponseLine());
}

void DebugPage::SendBroadcast() {
    const std::string frame = "7EB7820102D75A7E";
    tdm_.trace.Add("Sending BroadCast: " + frame);
    tdm_.client.SendTo(std::string(kBroadcastAddress), kHostPort, frame);
    int silences = 0;
    for (int counter = 0; counter < kBroadcastWaits && silences < kBroadcastSilences; ++counter) {
        std::optional<std::string> datagram = tdm_.client.Receive();
        if (!datagram || datagram->empty()) {
            tdm_.trace.Add(NoResponseLine());
            ++silences;
            continue;
        }
        tdm_.trace.Add(std::to_string(counter) + std::string(98, '-'));
        tdm_.trace.Add("Received: " + *datagram);
        for (auto [from, to] : kAnswerSlices) {
            std::string slice = Slice(*datagram, from, to);
            tdm_.trace.Add(slice + ":" + HexToText(slice));
        }
    }
}

void DebugPage::ShowChecksum() {
    const std::string text = Trim(Controls()["edtData"].text);
    const std::string slice = text.size() >= 6 ? Slice(text, 5, text.size() - 2) : std::string();
    std::string sum = HexChecksum(slice, &tdm_.op);
    tdm_.op.ShowMessage(slice + " :" + sum);
}

void DebugPage::ShowCheckCode() {
    const std::string text = Trim(Controls()["edtData"].text);
    const std::string slice = text.size() >= 10 ? Slice(text, 7, text.size() - 4) : std::string();
    std::string code = HexCheckCode(slice, &tdm_.op);
    tdm_.op.ShowMessage(slice + " :" + code);
}

void DebugPage::CheckFrame() {
    tdm_.op.ShowMessage(VerifyFrame(Controls()["edtData"].text) ? "OK!!" : "ERROR!!");
}

void DebugPage::ShowHexAsText(const std::string& selected) {
    tdm_.op.ShowMessage(HexToText(selected));
}

void DebugPage::ReadBuffer() {
    for (int n = 1; n <= kBufferReads; ++n) {
        std::string datagram = tdm_.client.Receive(kBufferReadTimeoutMs).value_or("");
        tdm_.trace.Add("读取缓存信息" + std::to_string(n) + "：" + datagram);
        if (datagram.empty()) {
            tdm_.trace.Add(std::string(45, '-'));
            break;
        }
    }
}

void DebugPage::ReadSection() {
    const CommandEntry read =
        Request(kDebugSectionReadPair, "08" + Controls()["Edit2"].SelectedText());
    std::string result = tdm_.exchanger.ExchangeCommand(read.frame, read.pair);
    tdm_.trace.Add(read.pair + "(" + read.frame + "): " + result);
}

void DebugPage::Probe() {
    // The short time-out is for this probe only, so later exchanges keep
    // their own.
    const int previous = tdm_.client.ReceiveTimeoutMs();
    tdm_.client.Open();
    tdm_.client.SetReceiveTimeoutMs(kProbeTimeoutMs);
    std::string reply;
    try {
        tdm_.client.SendTo(tdm_.session.CurrentHost(), tdm_.session.CurrentPort(),
                           std::string("\xF1\x00", 2));
        reply = tdm_.client.Receive().value_or("");
    } catch (...) {
        tdm_.client.SetReceiveTimeoutMs(previous);
        throw;
    }
    tdm_.client.SetReceiveTimeoutMs(previous);
    reply.resize(12, '\0');
    tdm_.op.ShowMessage(HexFromBytes(reply));
}

}  // namespace tarnwick
