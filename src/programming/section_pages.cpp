#include "programming/section_pages.h"

#include "programming/programming_requests.h"

namespace tarnwick {

CommandList SectionReads(std::initializer_list<int> sections) {
    CommandList list;
    for (int section : sections) {
        SectionRequest read = ReadSectionRequest(section);
        list.push_back({read.pair, read.frame});
    }
    return list;
}

}  // namespace tarnwick
