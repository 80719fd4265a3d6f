#include "hosts/host_search.h"

#include "hosts/data_module.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/local_networks.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"
#include "storage/site_book.h"

namespace tarnwick {

namespace {

// One line for each kind of answer the search did not list beyond those
// traced one by one.
void TraceUnlisted(DataModule& tdm, const HostListWindowModel::Unlisted& unlisted) {
    if (unlisted.notUnicast > kTracedUnlistedAnswers)
        tdm.trace.Add("[调试数据]: 另有 " +
                      std::to_string(unlisted.notUnicast - kTracedUnlistedAnswers) +
                      " 个地址无效的搜索应答未列出");
    if (unlisted.listFull > 0)
        tdm.trace.Add("[调试数据]: 主机列表已满 " + std::to_string(HostListModel::kMaxHosts) +
                      " 台，另有 " + std::to_string(unlisted.listFull) + " 个搜索应答未列出");
    if (unlisted.overflow > 0)
        tdm.trace.Add("[调试数据]: 搜索应答来得太快，另有 " + std::to_string(unlisted.overflow) +
                      " 个搜索应答未列出");
    if (unlisted.late > 0)
        tdm.trace.Add("[调试数据]: 搜索时间已到，另有 " + std::to_string(unlisted.late) +
                      " 个搜索应答未列出");
}

// The book the list names its rows from; a book that cannot be read is said
// in the trace and the list shows the search alone. A site whose address is
// not one to talk to (a broadcast address of this computer's networks) is
// left out with a line in the trace.
std::vector<Site> ReadBook(DataModule& tdm, const std::vector<LocalNetwork>& local) {
    try {
        SitesToTalkTo usable = UsableSites(SiteBook(tdm.db).List(), local);
        for (const std::string& warning : usable.warnings) tdm.trace.Add("[站点簿]：" + warning);
        return std::move(usable.sites);
    } catch (const std::exception& e) {
        tdm.trace.Add(std::string(kSiteBookUnreadableText) + e.what());
        return {};
    }
}

// The search frame to every host of the network, then to each booked site
// by its address, so that a booked host the broadcast does not reach (on
// another network) answers as well.
void SendSearch(DataModule& tdm, const std::vector<Site>& book) {
    const std::string frame = BuildFrame("02", "D7");
    tdm.client.Close();
    tdm.client.Open();
    tdm.client.SendTo(std::string(kBroadcastAddress), kHostPort, frame);
    size_t failed = 0;
    std::string firstFailure;
    for (const Site& site : book) {
        try {
            tdm.client.SendTo(site.address, site.port, frame);
        } catch (const std::exception& e) {
            if (failed++ == 0) firstFailure = site.address + "：" + e.what();
        }
    }
    if (book.empty()) return;
    tdm.trace.Add(kUnicastSearchTracePrefix + std::string("搜索帧另发往站点簿中的") +
                  std::to_string(book.size()) + "个站点");
    if (failed > 0)
        tdm.trace.Add(kUnicastSearchTracePrefix + std::to_string(failed) + "个站点未能发送，首个 " +
                      firstFailure);
}

}  // namespace

void HostListWindowModel::Select(int row) {
    selectedAddress_ = row > 0 ? list.Field(row, 1) : std::string();
}

int HostListWindowModel::SelectedRow() const {
    if (selectedAddress_.empty()) return list.Field(1, 1).empty() ? 0 : 1;
    return list.RowOf(selectedAddress_);
}

void ListBookedSites(DataModule& tdm, HostListWindowModel& window) {
    window.list.SortAnswers();
    window.list.ListAbsentSites();
    const std::vector<SiteBook::Seen> seen = window.list.BookedAnswers();
    if (seen.empty()) return;
    try {
        SiteBook(tdm.db).RecordSeen(seen, tdm.clock.NowText());
    } catch (const std::exception& e) {
        tdm.trace.Add(std::string(kSiteBookUnwritableText) + e.what());
    }
}

void ApplySiteBook(DataModule& tdm, HostListWindowModel& window) {
    if (window.searching) return;
    window.list.ApplyBook(ReadBook(tdm, LocalIPv4Networks()));
    if (window.onListChanged) window.onListChanged();
}

void DrainSearchAnswers(DataModule& tdm, HostListWindowModel& window) {
    bool changed = false;
    HostListWindowModel::Unlisted& unlisted = window.unlisted;
    for (const std::string& frame : tdm.listener.TakeSearchAnswers()) {
        if (window.searching && tdm.op.TickMs() >= window.searchDeadline) {
            ++unlisted.late;
            continue;
        }
        switch (window.list.AddSearchAnswer(frame)) {
            case HostListModel::Added::Row:
                changed = true;
                break;
            case HostListModel::Added::NotUnicast:
                if (++unlisted.notUnicast <= kTracedUnlistedAnswers)
                    tdm.trace.Add("[调试数据]: 搜索应答的地址不是单一主机的 IPv4 地址，未列出: " +
                                  Slice(frame, 13, 42));
                break;
            case HostListModel::Added::Full:
                ++unlisted.listFull;
                break;
            case HostListModel::Added::Repeated:
                break;
        }
    }
    unlisted.overflow += static_cast<long long>(tdm.listener.TakeOverflowCount());
    if (changed && window.onListChanged) window.onListChanged();
}

void RunHostSearch(DataModule& tdm, HostListWindowModel& window) {
    if (window.searching || tdm.flowRunning) return;
    FlowScope flow(tdm);
    window.searching = true;
    window.searchDeadline = tdm.op.TickMs() + kSearchDeadlineMs;
    window.unlisted = {};
    auto pause = [&](int ms) {
        tdm.op.Pause(ms);
        DrainSearchAnswers(tdm, window);
    };
    std::string listenProblem;
    std::vector<Site> book;
    try {
        window.list.ClearForSearch();
        const std::vector<LocalNetwork> local = LocalIPv4Networks();
        window.list.SetLocalNetworks(local);
        book = ReadBook(tdm, local);
        window.list.SetBook(book);
        if (window.onListChanged) window.onListChanged();
        try {
            tdm.listener.Restart();
        } catch (const std::exception& e) {
            // Without the listener no answer could be seen: no broadcast.
            listenProblem = e.what();
            throw;
        }
        window.listEnabled = false;
        window.bottomEnabled = false;
        window.keysAttached = false;
        if (window.setHostWindowEnabled) window.setHostWindowEnabled(false);
        window.waiting.Reset(100, 1);
        window.waiting.Show(kSearchingTitle);
        pause(kSearchSettleMs);
        SendSearch(tdm, book);
        for (int i = 0; i < kSearchSteps && tdm.op.TickMs() < window.searchDeadline; ++i) {
            window.waiting.StepIt();
            pause(kSearchStepPauseMs);
        }
    } catch (...) {
        // The search ends quietly; the clean-up below runs in every case.
    }
    DrainSearchAnswers(tdm, window);
    TraceUnlisted(tdm, window.unlisted);
    ListBookedSites(tdm, window);
    if (window.onListChanged) window.onListChanged();
    window.listEnabled = true;
    if (window.focusList) window.focusList();
    tdm.listener.Close();
    window.bottomEnabled = true;
    window.keysAttached = true;
    if (window.setHostWindowEnabled) window.setHostWindowEnabled(true);
    window.waiting.Hide();
    window.searching = false;
    if (!listenProblem.empty()) {
        tdm.trace.Add("搜索主机时无法监听本机端口" + std::to_string(kHostPort) + "：" +
                      listenProblem);
        tdm.op.Warning(PortInUseText());
    }
}

std::string PortInUseText() {
    return "本机端口" + std::to_string(kHostPort) + "已被其他程序占用，无法搜索主机！";
}

}  // namespace tarnwick
