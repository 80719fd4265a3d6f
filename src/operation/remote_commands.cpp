#include "operation/remote_commands.h"

#include <chrono>
#include <cstdio>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/nm_decoder.h"
#include "operation/alarm_host_decoder.h"
#include "operation/control_decoder.h"
#include "operation/host_status.h"
#include "protocol/conversion_error.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"
#include "storage/code_tables.h"

namespace tarnwick {
namespace {

struct CommandButton {
    const char* name;
    const char* hint;
};
constexpr CommandButton kArmingButtons[] = {
    {"bbtnOutArming", "离家布防"}, {"bbtnInArming", "在家布防"}, {"bbtnDisArming", "撤防"}};
constexpr CommandButton kControlButtons[] = {{"bbtnHostReset", "主机复位"},
                                             {"bbtnOnOffLinkage", "联动开启(当前关闭)"},
                                             {"bbtnOnOffAlarmSound", "报警声开启(当前关闭)"},
                                             {"bbtnDisAlarm", "消除报警"},
                                             {"bbtnPowerReset", "辅助复位"}};

std::string ArmingData(const std::string& button) {
    if (button == "bbtnOutArming") return "03A663FFFF";
    if (button == "bbtnInArming") return "03A662FFFF";
    return "03A668FFFF";
}

// What the last exchange of a command sent and received, for the error box.
struct LastExchange {
    std::string frame;
    std::string result;
};

// Busy step, the command, the idle step in every case; a failure is shown
// after the idle step with the frame and answer of the last exchange.
template <typename Body>
void RunCommand(HostWindow& window, Body body) {
    FlowScope flow(window.tdm);
    window.BusyStep();
    LastExchange last;
    std::string failure;
    bool failed = false;
    try {
        body(last);
    } catch (const std::exception& e) {
        failed = true;
        failure = e.what();
    }
    window.IdleStep();
    if (failed)
        window.tdm.op.Information("错误:" + failure + "\rSend:" + last.frame +
                                  "\rReceive:" + last.result);
}

ReplyResult Exchange(HostWindow& window, LastExchange& last, std::string_view pair,
                     std::string_view data) {
    const CommandEntry entry = Request(pair, data);
    last.frame = entry.frame;
    last.result.clear();
    ReplyResult reply = window.tdm.exchanger.Exchange(entry);
    last.result = reply.text;
    return reply;
}

// The answer in a box when there is one; a row the operation log could not
// take is said once beside it and never changes the flow.
void ShowIfAny(HostWindow& window, const std::string& result, const std::string& logProblem = {}) {
    std::string shown = Trim(result).empty() ? std::string() : result;
    if (!logProblem.empty()) {
        window.tdm.trace.Add(OperationLogProblemText(logProblem));
        shown += (shown.empty() ? "" : "\r") + OperationLogProblemText(logProblem);
    }
    if (!shown.empty()) window.tdm.op.Information(shown);
}

// The status read-back after a command: its answer only fills the status keys.
void ReadStatusBack(HostWindow& window, PageModel& c, LastExchange& last) {
    const bool answered =
        Exchange(window, last, kStatusReadBackPair, kStatusQueryData).kind != ReplyKind::NoReply;
    window.tdm.op.Pause(kStatusReadBackPauseMs);
    ShowStatusOutcome(c, window.tdm.params, answered, window.tdm.clock.NowText());
    c.Changed();
    window.tdm.op.Pause(kStatusReadBackPauseMs);
}

int Number(const std::string& text, size_t from, size_t length) {
    const std::string digits = text.substr(from, length);
    if (digits.find_first_not_of("0123456789") != std::string::npos)
        throw ConversionError("'" + text + "' is not a valid date and time");
    return std::stoi(digits);
}

}  // namespace

std::string RemoteOperationCode(const Control& button) {
    const std::string& name = button.name;
    if (name == "bbtnHostReset") return "09";
    if (name == "bbtnOnOffLinkage") return button.tag == 0 ? "05" : "06";
    if (name == "bbtnOnOffAlarmSound") return button.tag == 0 ? "07" : "08";
    if (name == "bbtnDisAlarm") return "0A";
    return "0B";
}

std::string ClockData(const std::string& nowText) {
    using namespace std::chrono;
    if (nowText.size() != 19 || nowText[4] != '-' || nowText[7] != '-' || nowText[10] != ' ' ||
        nowText[13] != ':' || nowText[16] != ':')
        throw ConversionError("'" + nowText + "' is not a valid date and time");
    const int y = Number(nowText, 0, 4);
    const int mo = Number(nowText, 5, 2);
    const int d = Number(nowText, 8, 2);
    const int h = Number(nowText, 11, 2);
    const int mi = Number(nowText, 14, 2);
    const int s = Number(nowText, 17, 2);
    const year_month_day date{year{y}, month{static_cast<unsigned>(mo)},
                              day{static_cast<unsigned>(d)}};
    if (!date.ok() || y < 1900 || y > 1900 + 255 || h > 23 || mi > 59 || s > 59)
        throw ConversionError("'" + nowText + "' is not a valid date and time");
    const unsigned weekdayFromMonday = (weekday{sys_days{date}}.c_encoding() + 6) % 7;
    return ByteHex(static_cast<unsigned>(y - 1900)) + ByteHex(static_cast<unsigned>(mo - 1)) +
           ByteHex(static_cast<unsigned>(d)) + ByteHex(weekdayFromMonday) +
           ByteHex(static_cast<unsigned>(h)) + ByteHex(static_cast<unsigned>(mi)) +
           ByteHex(static_cast<unsigned>(s));
}

void SendRemoteControl(HostWindow& window, PageModel& c, const std::string& button) {
    const std::string code = RemoteOperationCode(c[button]);
    RunCommand(window, [&](LastExchange& last) {
        DataModule& tdm = window.tdm;
        const std::string result = Exchange(window, last, kRemoteControlPair, "0A" + code).text;
        tdm.trace.Add(std::string(kRemoteControlPair) + "(" + last.frame + "): " + result);
        const std::string logProblem = tdm.operationLog.Write(last.frame, result);
        ShowIfAny(window, result, logProblem);
        ReadStatusBack(window, c, last);
    });
}

void SendArmingCommand(HostWindow& window, PageModel& c, const std::string& button) {
    DataModule& tdm = window.tdm;
    tdm.params.Set(std::string(kArmingOperateInfoKey), "");
    const std::string data = ArmingData(button);
    RunCommand(window, [&](LastExchange& last) {
        const ReplyResult reply = Exchange(window, last, kArmingPair, data);
        const std::string& result = reply.text;
        const std::string frame = last.frame;
        tdm.trace.Add("(" + frame + "): " + result);
        const bool succeeded = reply.Succeeded();
        ShowIfAny(window, result,
                  succeeded ? tdm.operationLog.Write(frame, result) : std::string());
        if (succeeded) {
            // The host waits for its own bytes back; without them there is
            // nothing to acknowledge.
            const std::string info = tdm.params.Get(std::string(kArmingOperateInfoKey));
            if (!info.empty()) Exchange(window, last, kArmingAckPair, info);
        }
        ReadStatusBack(window, c, last);
    });
}

void SyncHostTime(HostWindow& window) {
    DataModule& tdm = window.tdm;
    FlowScope flow(tdm);
    try {
        const std::string data = ClockData(tdm.clock.NowText());
        window.BusyStep();
        const CommandEntry entry = Request(kNmTimeSyncPair, data);
        const std::string result = tdm.exchanger.Exchange(entry).text;
        tdm.trace.Add(entry.pair + "(" + entry.frame + "): " + result);
        ShowIfAny(window, result, tdm.operationLog.Write(entry.frame, result));
    } catch (...) {
        // Time synchronisation reports nothing beyond its answer.
    }
    window.IdleStep();
}

void DeclareRemoteCommands(PageModel& c, HostWindow& window) {
    for (const CommandButton& b : kArmingButtons) {
        c.Button(b.name, b.hint, b.hint);
        const std::string name = b.name;
        c.OnClick(name, [&window, &c, name] {
            window.RunWhenFree([&window, &c, name] { SendArmingCommand(window, c, name); });
        });
    }
    for (const CommandButton& b : kControlButtons) {
        c.Button(b.name, b.hint, b.hint);
        const std::string name = b.name;
        c.OnClick(name, [&window, &c, name] {
            window.RunWhenFree([&window, &c, name] { SendRemoteControl(window, c, name); });
        });
    }
    c["bbtnOnOffLinkage"].image = 0;
    c["bbtnOnOffAlarmSound"].image = 2;
    // Nothing enables the auxiliary power reset.
    c["bbtnPowerReset"].enabled = false;
    c.Button("bbtnTimeSync", "系统校时", "系统校时");
    c.OnClick("bbtnTimeSync",
              [&window] { window.RunWhenFree([&window] { SyncHostTime(window); }); });
    c.Button("bbtnCodeMatching", "无线设备对码、删除", "无线设备对码、删除");
    c.OnClick("bbtnCodeMatching", [&window] {
        window.RunWhenFree([&window] {
            if (window.openPairingWindow) window.openPairingWindow();
        });
    });
}

}  // namespace tarnwick
