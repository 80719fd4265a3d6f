#include "support/scripted_page.h"

#include <memory>
#include <stdexcept>

#include "app/standard_pages.h"

namespace tarnwick::testing {

ScriptedPage& AssembleWithScriptedPage(HostWindow& window, int index) {
    if (index < 1 || index >= PageIndex(PageId::Debug))
        throw std::invalid_argument("the scripted page takes one of the pages 1 to 6");
    ScriptedPage* scripted = nullptr;
    AssembleStandardPages(window, [&](PageId id) -> std::unique_ptr<PageBranch> {
        if (PageIndex(id) != index) return nullptr;
        auto page = std::make_unique<ScriptedPage>();
        scripted = page.get();
        return page;
    });
    return *scripted;
}

}  // namespace tarnwick::testing
