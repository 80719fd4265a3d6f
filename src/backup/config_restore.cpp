#include "backup/config_restore.h"

#include <exception>
#include <string_view>

#include "backup/shown_settings.h"
#include "backup/snapshot_codes.h"
#include "backup/snapshot_reads.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "hosts/save_refused.h"
#include "modules/nm_settings.h"
#include "operation/host_control_page.h"
#include "programming/programming_layout.h"
#include "programming/programming_page.h"
#include "programming/section_write.h"
#include "protocol/conversion_error.h"
#include "protocol/hex_text.h"
#include "storage/code_tables.h"
#include "version.h"

namespace tarnwick {
namespace {

constexpr const char* kModuleRestartKey = "NMReboot";
// The keys of the network module's local network block, and its edits.
constexpr std::string_view kLocalNetworkPrefix = "NMLocal";
constexpr const char* kLocalNetworkEdits[] = {"edtLocalIP", "edtLocalMask", "edtLocalGateway"};
// An unanswered write may still have been taken.
constexpr const char* kOutcomeUnknownText =
    "主机无应答：这项写入的结果不明，主机可能已经写入；"
    "以下重新读取的结果是主机现在保存的配置。";

// The module settings of the pages that are no programming page: the GPRS
// page's save branch, and the network module groups of the host control page
// (whose schedule is section 06, restored with the sections).
void QueueModuleWrites(HostWindow& pages, const DeviceParams& target, const DeviceParams& live,
                       std::vector<RestoreWrite>& writes) {
    for (int i = 0; i < pages.PageCount(); ++i) {
        if (!pages.IsSavablePage(i)) continue;
        PageBranch& page = pages.Page(i);
        if (dynamic_cast<ProgrammingPage*>(&page)) continue;
        page.Prepare();
        // The module settings load whole; only the schedule, restored with
        // the sections, can stop.
        page.LoadFromStore(target);
        CommandList list;
        try {
            if (dynamic_cast<HostControlPage*>(&page))
                QueueNmWrites(list, page.Controls(), live);
            else
                list = page.SaveList(live);
        } catch (const SaveRefused& e) {
            throw SaveRefused(page.Caption() + ": " + e.what());
        }
        for (CommandEntry& entry : list) writes.push_back({page.Caption(), std::move(entry)});
    }
}

// The network module's local network settings: the host's own address.
bool IsLocalNetworkKey(const std::string& key) {
    return key.size() >= kLocalNetworkPrefix.size() &&
           SameName(key.substr(0, kLocalNetworkPrefix.size()), std::string(kLocalNetworkPrefix));
}

// `target` with the local network settings `live` holds.
ConfigSnapshot WithLocalNetworkOf(const ConfigSnapshot& target, const ConfigSnapshot& live) {
    ConfigSnapshot out = target;
    std::erase_if(out.keys, [](const auto& k) { return IsLocalNetworkKey(k.first); });
    for (const auto& k : live.keys)
        if (IsLocalNetworkKey(k.first)) out.keys.push_back(k);
    return out;
}

// The settings that change, by page and caption; by key where a page cannot
// show a value of one of the two.
std::vector<ConfigDifference> Changes(HostWindow& pages, const ConfigSnapshot& live,
                                      const ConfigSnapshot& restored) {
    try {
        return CompareSnapshots(pages, live, restored);
    } catch (const ConversionError&) {
        return CompareStoredKeys(live, restored);
    }
}

}  // namespace

RestorePreparation PrepareRestore(HostWindow& pages, const ConfigSnapshot& target,
                                  const std::string& installerCode, RestoreAllowance allowance) {
    RestorePreparation prep;
    prep.live = TakeSnapshot(pages.tdm, SnapshotReads(pages), installerCode, kVersionText);
    if (!allowance.otherModel && prep.live.model != target.model)
        throw SnapshotError("主机型号“" + prep.live.model + "”与配置文件的型号“" + target.model +
                            "”不同，不能恢复");
    prep.restored = target;
    if (target.host != prep.live.host) {
        if (!allowance.otherHost)
            throw SnapshotError("配置文件取自主机 " + target.host + "，不是主机 " + prep.live.host +
                                "，不能恢复");
        // Another host's address, mask and gateway would move this host onto it.
        prep.restored = WithLocalNetworkOf(target, prep.live);
        const PageModel& control = HostControlPageOf(pages).Controls();
        for (const char* edit : kLocalNetworkEdits) prep.leftOut.push_back(control[edit].caption);
    }

    // The host keeps the codes the file does not hold in clear.
    if (target.withheld) prep.codesReason = target.withheld->reason;
    prep.codesLeftOut = FillWithheldCodes(prep.restored, prep.live);

    DeviceParams live;
    DeviceParams wanted;
    StoreSnapshotKeys(prep.live, live);
    StoreSnapshotKeys(prep.restored, wanted);
    prep.changes = Changes(pages, prep.live, prep.restored);
    for (int i = 0; i < kProgrammingSectionCount; ++i) {
        CommandList list;
        if (QueueSectionIfChanged(list, live, i, prep.restored.sections[static_cast<size_t>(i)]))
            prep.writes.push_back({kSectionsGroup + SectionCode(i), list.back()});
    }
    QueueModuleWrites(pages, wanted, live, prep.writes);
    return prep;
}

RestoreOutcome ExecuteRestore(HostWindow& pages, const ConfigSnapshot& restored,
                              const std::vector<RestoreWrite>& writes,
                              const std::string& installerCode,
                              const std::function<void(const std::string&)>& progress) {
    DataModule& tdm = pages.tdm;
    RestoreOutcome out;
    for (size_t k = 0; k < writes.size(); ++k) {
        const RestoreWrite& w = writes[k];
        if (progress) progress(w.page + ": " + w.entry.pair);
        ReplyResult reply;
        try {
            reply = pages.RunEntry(w.entry, k, ".");
        } catch (const std::exception& e) {
            out.stopReason = w.page + ": " + e.what();
            break;
        }
        const std::string& result = reply.text;
        if (reply.kind == ReplyKind::NoReply) {
            // Nothing came back: no row, for nothing is known to be written;
            // but the host may have taken it, so it is read again below.
            out.stopReason = w.page + ": " + w.entry.pair + " " + kOutcomeUnknownText;
            out.outcomeUnknown = true;
            break;
        }
        const std::string problem = tdm.operationLog.Write(w.entry.Logged(), result);
        if (out.logProblem.empty()) out.logProblem = problem;
        // The host took the write when it answered it with success.
        if (!reply.Succeeded()) {
            out.stopReason = w.page + ": " + result;
            break;
        }
        out.written.push_back(w);
        if (tdm.params.Get(kModuleRestartKey) == "1") out.moduleRestartNeeded = true;
    }
    if (!out.stopReason.empty() && !out.outcomeUnknown) return out;
    try {
        const ConfigSnapshot after =
            TakeSnapshot(tdm, SnapshotReads(pages), installerCode, kVersionText);
        out.reread = true;
        out.remaining = Changes(pages, restored, after);
    } catch (const SnapshotError& e) {
        out.stopReason +=
            (out.stopReason.empty() ? "" : "\n") + std::string("重新读取失败: ") + e.what();
    }
    return out;
}

std::string RestorePlanText(const std::vector<RestoreWrite>& writes) {
    if (writes.empty()) return std::string(kNothingToRestoreText) + "\n";
    std::string text;
    for (const RestoreWrite& w : writes) text += w.page + ": " + w.entry.pair + "\n";
    return text;
}

namespace {

std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) text += (i ? "、" : "") + items[i];
    return text;
}

}  // namespace

std::string LeftOutText(const RestorePreparation& prep) {
    std::string text;
    if (!prep.leftOut.empty())
        text = "配置文件取自主机 " + prep.restored.host + "，恢复到主机 " + prep.live.host +
               " 时不写入文件中的本地网络设置：" + Listed(prep.leftOut) + "。\n";
    if (!prep.codesLeftOut.empty())
        text += "未恢复：" + Listed(prep.codesLeftOut) + "（" + prep.codesReason + "）\n";
    return text;
}

std::string RestoreReport(const RestoreOutcome& outcome) {
    std::string text;
    for (const RestoreWrite& w : outcome.written)
        text += "已写入 " + w.page + ": " + w.entry.pair + "\n";
    if (!outcome.stopReason.empty()) text += "恢复中止 " + outcome.stopReason + "\n";
    if (outcome.written.empty() && outcome.stopReason.empty() && outcome.remaining.empty())
        text += std::string(kNothingToRestoreText) + "\n";
    if (outcome.reread) {
        if (outcome.remaining.empty())
            text += "重新读取后主机配置与文件一致。\n";
        else
            text +=
                "重新读取后仍不同的设置（文件 → 主机）:\n" + DifferenceReport(outcome.remaining);
    }
    if (outcome.moduleRestartNeeded) text += "网管模块设置在模块重新启动后生效。\n";
    if (!outcome.logProblem.empty()) text += OperationLogProblemText(outcome.logProblem) + "\n";
    return text;
}

}  // namespace tarnwick
