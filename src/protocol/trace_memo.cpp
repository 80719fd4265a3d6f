#include "protocol/trace_memo.h"

namespace tarnwick {

void TraceMemo::Add(const std::string& line) {
    lines_.push_back(line);
    if (observer_) observer_();
}

void TraceMemo::Clear() {
    lines_.clear();
    if (observer_) observer_();
}

std::string TraceMemo::Text() const {
    std::string out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i) out += "\r\n";
        out += lines_[i];
    }
    return out;
}

}  // namespace tarnwick
