#include "programming/system_program_page.h"

#include <stdexcept>

#include "programming/programming_requests.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

// The eight events of the programmable relay and of the programmable output.
constexpr const char* kOutputEvents[] = {
    "系统布防时",   "键盘/遥控器紧急报警时", "主机交流电故障时", "主机电池电压低时",
    "电话线故障时", "GSM/GPRS模块故障时",    "有线网络故障时",   "开启键盘启动时"};
constexpr const char* kSystemControl1[] = {
    "开启用户挟持功能", "开启电话线故障检测",       "开启GSM/GPRS模块故障时蜂鸣提示",
    "开启键盘扩展防区", "开启遥控器的紧急按键操作", "开启有线网络故障时蜂鸣器提示"};
constexpr const char* kSystemControl2Captions[] = {
    "启用强制布防", "启用上电1分钟延时功能", "启用键盘上的紧急求救.火警.匪警", "启用无线警号"};
constexpr const char* kEventReport1[] = {"开启系统故障上报", "开启系统故障恢复上报",
                                         "开启撤布防上报",   "开启防区旁路上报",
                                         "开启定期测试上报", "开启巡更测试上报"};
constexpr const char* kAlarmEvents[] = {"主机交流电故障时",   "主机电池电压低时", "电话线故障时",
                                        "GSM/GPRS模块故障时", "主机撤布防成功时", "巡更测试成功时",
                                        "有线网络故障时",     "第8位没用（备用）"};
constexpr const char* kNeighborDileCaptions[] = {"开启邻居代拨号开关",
                                                 "只有和本机CID账号前2位相同的警情才代拨号"};

constexpr const char* kForcedArmingHint = "0H为不可强制布防，防区必须正常或旁路时才可布防";
constexpr const char* kRelayModeGroup = "可编程继电器输出方式";
constexpr const char* kOutputModeGroup = "可编程输出方式";
constexpr const char* kMonostable = "单稳态输出";
constexpr const char* kLevel = "电平式输出";

}  // namespace

const SystemProgramPage::FlagGroup SystemProgramPage::kFlagGroups[6] = {
    {"Prog03_RelayEvent", "chkRelayEvent", 8, "可编程继电器输出对应事件"},
    {"Prog07_ProgOutputEvent", "chkProgOutputEvent", 8, "可编程输出对应事件"},
    {"Prog03_AlarmEvent", "chkAlarmEvent", 8, "警号输出对应事件"},
    {"Prog03_SystemControl1", "chkSystemControl1", 6, "系统控制（一）"},
    {"Prog03_EventReport1", "chkEventReport1", 6, "事件上报开关（一）"},
    {"Prog03_EventReport2", "chkEventReport2", 10, "事件上报开关（二）"},
};
const SystemProgramPage::FlagGroup SystemProgramPage::kSystemControl2 = {
    "Prog03_SystemControl2", "chkSystemControl2", 4, "系统控制（二）"};
const SystemProgramPage::FlagGroup SystemProgramPage::kNeighborDile = {
    "Prog07_NeighborDile", "chkNeighborDile", 2, "邻居代拨号设置"};

SystemProgramPage::SystemProgramPage() : ProgrammingPage("tsSystemProgram", "系统编程") {
    // The relay and the output share their captions; the group tells them apart.
    for (const FlagGroup* group : {&kFlagGroups[0], &kFlagGroups[1]})
        for (int n = 1; n <= group->count; ++n)
            CaptionedCheck(Numbered(group->base, n), kOutputEvents[n - 1],
                           std::string(group->caption));
    for (int n = 1; n <= 8; ++n) CaptionedCheck(Numbered("chkAlarmEvent", n), kAlarmEvents[n - 1]);
    Controls()["chkAlarmEvent8"].visible = false;
    for (int n = 1; n <= 6; ++n)
        CaptionedCheck(Numbered("chkSystemControl1", n), kSystemControl1[n - 1]);
    for (int n = 1; n <= 6; ++n)
        CaptionedCheck(Numbered("chkEventReport1", n), kEventReport1[n - 1]);
    CaptionedCheck("chkEventReport21", "开启探测器及其他信息报告上报");
    CaptionedCheck("chkEventReport22", "开启有线防区报警触发恢复上报");
    for (int n = 3; n <= 10; ++n)
        CaptionedCheck(Numbered("chkEventReport2", n), "接警电话号码" + std::to_string(n - 2));
    for (int n = 1; n <= 4; ++n)
        CaptionedCheck(Numbered("chkSystemControl2", n), kSystemControl2Captions[n - 1]);
    Controls()["chkSystemControl21"].hint = kForcedArmingHint;
    for (const char* name : {"rbtnSystemControl25", "rbtnSystemControl26"}) {
        const std::string group =
            name == std::string("rbtnSystemControl25") ? kRelayModeGroup : kOutputModeGroup;
        CaptionedRadio(name, kMonostable, group);
        CaptionedRadio(std::string(name) + "_", kLevel, group);
    }
    for (int n = 1; n <= 2; ++n)
        CaptionedCheck(Numbered("chkNeighborDile", n), kNeighborDileCaptions[n - 1]);
    CaptionedRadio("rbDualNetwork1", "GPRS网络与PSTN网络都上报警情");
    CaptionedRadio("rbDualNetwork2", "GPRS网络正常时，PSTN网络不上报警情，否则上报");
}

CommandList SystemProgramPage::ReadList() {
    return {ReadSectionRequest(3), ReadSectionRequest(7)};
}

void SystemProgramPage::SelectRadio(const std::string& on, const std::string& off) {
    Controls()[on].checked = true;
    Controls()[off].checked = false;
}

void SystemProgramPage::ClearSystemProgramPage() {
    ClearControls();
    SelectRadio("rbtnSystemControl25", "rbtnSystemControl25_");
    SelectRadio("rbtnSystemControl26", "rbtnSystemControl26_");
    SelectRadio("rbDualNetwork1", "rbDualNetwork2");
}

void SystemProgramPage::LoadFlags(const FlagGroup& group, const std::string& digits) {
    for (int n = 1; n <= group.count && static_cast<size_t>(n) <= digits.size(); ++n)
        SetFlag(Numbered(group.base, n), digits[static_cast<size_t>(n) - 1]);
}

void SystemProgramPage::LoadSystemProgramPage(const DeviceParams& stored) {
    for (const FlagGroup& group : kFlagGroups) LoadFlags(group, stored.Get(std::string(group.key)));
    const std::string control2 = stored.Get(std::string(kSystemControl2.key));
    LoadFlags(kSystemControl2, control2);
    if (control2.size() >= 5)
        control2[4] == '0' ? SelectRadio("rbtnSystemControl25", "rbtnSystemControl25_")
                           : SelectRadio("rbtnSystemControl25_", "rbtnSystemControl25");
    if (control2.size() >= 6)
        control2[5] == '0' ? SelectRadio("rbtnSystemControl26", "rbtnSystemControl26_")
                           : SelectRadio("rbtnSystemControl26_", "rbtnSystemControl26");
    // Every value but "00" shows as the second choice, an empty one too.
    stored.Get("Prog07_SwitchDualNetwork") == "00"
        ? SelectRadio("rbDualNetwork1", "rbDualNetwork2")
        : SelectRadio("rbDualNetwork2", "rbDualNetwork1");
    // A missing digit is not "0": an empty parameter checks both boxes.
    const std::string neighbour = stored.Get(std::string(kNeighborDile.key));
    for (int n = 1; n <= kNeighborDile.count; ++n)
        SetFlag(Numbered(kNeighborDile.base, n), static_cast<size_t>(n) <= neighbour.size()
                                                     ? neighbour[static_cast<size_t>(n) - 1]
                                                     : '1');
}

std::string SystemProgramPage::Flags(const FlagGroup& group, const SectionWriter& w) const {
    std::string digits;
    for (int n = 1; n <= group.count; ++n) digits += w.Flag(Numbered(group.base, n));
    return digits;
}

std::string SystemProgramPage::EncodeSystemProgramSection(std::string_view section,
                                                          SectionWriter& w) const {
    SectionWriter::FieldDigits own;
    for (const FlagGroup& group : kFlagGroups) {
        if (!group.key.starts_with(section == "03" ? "Prog03_" : "Prog07_")) continue;
        own[std::string(group.key)] = [this, &w, &group] { return Flags(group, w); };
    }
    if (section == "03") {
        own[std::string(kSystemControl2.key)] = [this, &w] {
            return Flags(kSystemControl2, w) + (w.Flag("rbtnSystemControl25") == "1" ? "0" : "1") +
                   (w.Flag("rbtnSystemControl26") == "1" ? "0" : "1");
        };
        return w.Body(3, own);
    }
    if (section == "07") {
        own["Prog07_SwitchDualNetwork"] = [&w] {
            return w.Flag("rbDualNetwork1") == "1" ? "00" : "01";
        };
        own[std::string(kNeighborDile.key)] = [this, &w] {
            return Flags(kNeighborDile, w) + Slice(w.Stored(kNeighborDile.key), 3, 4);
        };
        // The first part goes back exactly as the host sent it, cross-zone
        // fields included.
        return w.Body(7, own, true);
    }
    throw std::invalid_argument("the system program page writes sections 03 and 07, not " +
                                std::string(section));
}

void SystemProgramPage::QueueSections(CommandList& list, SectionWriter& writer) const {
    writer.QueueIfChanged(list, 3, EncodeSystemProgramSection("03", writer));
    writer.QueueIfChanged(list, 7, EncodeSystemProgramSection("07", writer));
}

}  // namespace tarnwick
