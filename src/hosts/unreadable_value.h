#pragma once
#include <string>

#include "hosts/page_model.h"
#include "protocol/conversion_error.h"

namespace tarnwick {

// A loader met a value from the host that `control` cannot show (a report
// group digit "B", rights "0A"): the loading stops there. The text names the
// control by its caption, in the operator's words.
class UnreadableValue : public ConversionError {
  public:
    explicit UnreadableValue(const Control& control)
        : ConversionError(CaptionOf(control) + "无法读取"),
          name_(control.name),
          caption_(CaptionOf(control)) {}

    const std::string& ControlName() const { return name_; }
    const std::string& Caption() const { return caption_; }

  private:
    static std::string CaptionOf(const Control& c) {
        return c.caption.empty() ? c.name : c.caption;
    }
    std::string name_;
    std::string caption_;
};

}  // namespace tarnwick
