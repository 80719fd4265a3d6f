#include "backup/snapshot_reads.h"

#include <vector>

#include "backup/config_snapshot.h"
#include "hosts/host_window.h"
#include "hosts/page_branch.h"

namespace tarnwick {

CommandList SnapshotReads(HostWindow& window) {
    std::vector<CommandList> lists;
    for (int i = 0; i < window.PageCount(); ++i)
        if (window.IsSavablePage(i)) lists.push_back(window.Page(i).ReadList());
    return MergeReadLists(lists);
}

}  // namespace tarnwick
