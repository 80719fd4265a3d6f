#include "hosts/captioned_edits.h"

#include <string>

namespace tarnwick {

void AddCaptionedEdits(PageModel& controls, std::span<const CaptionedEdit> edits) {
    for (const CaptionedEdit& e : edits) {
        controls.Edit(e.edit, e.maxLength, e.filter).caption = e.caption;
        controls.Label(e.label, std::string(e.caption) + "：");
    }
}

}  // namespace tarnwick
