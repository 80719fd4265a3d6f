#include "programming/system_program_page.h"

#include <tuple>

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

SystemProgramPage::SystemProgramPage(HostWindow&) : ProgrammingPage(OtherFields::AsReceived) {
    // The relay and the output share their captions; the group tells them apart.
    for (const FlagGroup* group : {&kFlagGroups[0], &kFlagGroups[1]})
        DescribeFlags(*group, {std::begin(kOutputEvents), std::end(kOutputEvents)},
                      std::string(group->caption));
    DescribeFlags(kFlagGroups[2], {std::begin(kAlarmEvents), std::end(kAlarmEvents)});
    Controls()["chkAlarmEvent8"].visible = false;
    DescribeFlags(kFlagGroups[3], {std::begin(kSystemControl1), std::end(kSystemControl1)});
    DescribeFlags(kFlagGroups[4], {std::begin(kEventReport1), std::end(kEventReport1)});
    std::vector<std::string> report2 = {"开启探测器及其他信息报告上报",
                                        "开启有线防区报警触发恢复上报"};
    for (int n = 1; n <= 8; ++n) report2.push_back("接警电话号码" + std::to_string(n));
    DescribeFlags(kFlagGroups[5], report2);
    DescribeFlags(kSystemControl2,
                  {std::begin(kSystemControl2Captions), std::end(kSystemControl2Captions)});
    Controls()["chkSystemControl21"].hint = kForcedArmingHint;
    // Digits 5 and 6 of system control two: "0" a monostable output, else a level.
    for (const auto& [name, group, digit] :
         {std::tuple{"rbtnSystemControl25", kRelayModeGroup, 5},
          std::tuple{"rbtnSystemControl26", kOutputModeGroup, 6}}) {
        const std::string level = std::string(name) + "_";
        Control& monostable = CaptionedRadio(name, kMonostable, group);
        CaptionedRadio(level, kLevel, group);
        Describe(monostable, {.key = std::string(kSystemControl2.key),
                              .offset = static_cast<size_t>(digit),
                              .width = 1,
                              .coding = FieldCoding::Choice,
                              .partner = level,
                              .on = "0",
                              .off = "1"});
    }
    // A missing digit is not "0": an empty parameter checks both boxes.
    DescribeFlags(kNeighborDile,
                  {std::begin(kNeighborDileCaptions), std::end(kNeighborDileCaptions)}, {}, "1");
    // Every value but "00" shows as the second choice, an empty one too.
    Control& both = CaptionedRadio("rbDualNetwork1", "GPRS网络与PSTN网络都上报警情");
    CaptionedRadio("rbDualNetwork2", "GPRS网络正常时，PSTN网络不上报警情，否则上报");
    Describe(both, {.key = "Prog07_SwitchDualNetwork",
                    .coding = FieldCoding::Choice,
                    .missing = "",
                    .partner = "rbDualNetwork2",
                    .on = "00",
                    .off = "01"});
}

void SystemProgramPage::DescribeFlags(const FlagGroup& group,
                                      const std::vector<std::string>& captions,
                                      const std::string& inGroup,
                                      const std::optional<std::string>& missing) {
    for (int n = 1; n <= group.count; ++n)
        Describe(CaptionedCheck(Numbered(group.base, n), captions.at(static_cast<size_t>(n) - 1),
                                inGroup),
                 {.key = std::string(group.key),
                  .offset = static_cast<size_t>(n),
                  .width = 1,
                  .coding = FieldCoding::Flag,
                  .missing = missing});
}

}  // namespace tarnwick
