#pragma once
#include <stdexcept>
#include <string>

namespace tarnwick {

// Thrown by a page's save branch when the save must not run at all (a value
// that cannot be sent, a field that was never read). The text is what the
// operator is shown; nothing is sent and the controls keep their values.
class SaveRefused : public std::runtime_error {
  public:
    explicit SaveRefused(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace tarnwick
