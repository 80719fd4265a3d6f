#pragma once
#include "hosts/page_branch.h"

namespace tarnwick {

// tsAlarmInfo: the host's alarm history, twenty entries from cbStartNo on.
class AlarmInfoPage : public PageBranch {
  public:
    AlarmInfoPage();
    CommandList ReadList() override;
};

// The alarm history query for the twenty records from `start` on.
CommandEntry AlarmHistoryRead(int start);

}  // namespace tarnwick
