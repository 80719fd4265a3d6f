#include "programming/section_pages.h"

#include "programming/programming_requests.h"

namespace tarnwick {

CommandList SectionReads(std::initializer_list<int> sections) {
    CommandList list;
    for (int section : sections) list.push_back(ReadSectionRequest(section));
    return list;
}

}  // namespace tarnwick
