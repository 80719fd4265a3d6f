#pragma once
#include <cstddef>
#include <span>

#include "hosts/page_model.h"

namespace tarnwick {

// An edit of a dialog with its caption (its accessible name) and the label
// in front of it, which shows the caption and a colon.
struct CaptionedEdit {
    const char* edit;
    const char* label;
    const char* caption;
    size_t maxLength = 0;
    KeyFilter filter = KeyFilter::None;
};

// Declares each edit and its label in `controls`.
void AddCaptionedEdits(PageModel& controls, std::span<const CaptionedEdit> edits);

}  // namespace tarnwick
