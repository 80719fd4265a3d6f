#include "modules/gprs_page.h"

#include "modules/gprs_decoder.h"

namespace tarnwick {

CommandList GprsPage::ReadList() {
    return {
        Request(kGprsQueryParams1Pair),
        Request(kGprsQueryParams2Pair),
        Request(kGprsQueryHeartbeatPair),
        Request(kGprsQueryManagePhonePair, kGprsManagePhoneGroup),
        Request(kGprsQueryProgPhonePair, kGprsProgPhoneGroup),
        Request(kGprsQueryAlarmPhonePair, kGprsAlarmPhoneGroup),
        Request(kGprsQuerySmsPhonePair, kGprsSmsPhoneGroup),
        Request(kGprsQueryDnsPair),
        Request(kGprsQueryInfoSmsPair),
        Request(kGprsQueryBootSmsPair),
        Request(kGprsQueryReportSmsPair),
    };
}

}  // namespace tarnwick
