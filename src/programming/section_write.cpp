#include "programming/section_write.h"

#include "programming/programming_layout.h"
#include "programming/programming_requests.h"

namespace tarnwick {

bool QueueSectionIfChanged(CommandList& list, const DeviceParams& stored, int section,
                           const std::string& body) {
    if (body == StoredSectionBody(stored, section)) return false;
    list.push_back(WriteSectionRequest(section, body));
    return true;
}

}  // namespace tarnwick
