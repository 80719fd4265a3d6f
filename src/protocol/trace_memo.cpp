#include "protocol/trace_memo.h"

namespace tarnwick {

void TraceMemo::Add(const std::string& line) {
    if (mirror_) mirror_(line);
    lines_.push_back(line);
    if (lines_.size() > kTraceMemoMaxLines) {
        const size_t drop = lines_.size() - (kTraceMemoMaxLines - kTraceMemoDropChunk);
        lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(drop));
        dropped_ += drop;
    }
    if (observer_) observer_();
}

void TraceMemo::Clear() {
    lines_.clear();
    dropped_ = 0;
    if (observer_) observer_();
}

std::string TraceMemo::DroppedNotice() const {
    if (dropped_ == 0) return {};
    return "（较早的 " + std::to_string(dropped_) + " 行调试信息已丢弃，只保留最近的 " +
           std::to_string(kTraceMemoMaxLines) + " 行）";
}

std::string TraceMemo::Text() const {
    std::string out = DroppedNotice();
    bool first = out.empty();
    for (const std::string& line : lines_) {
        if (!first) out += "\r\n";
        out += line;
        first = false;
    }
    return out;
}

}  // namespace tarnwick
