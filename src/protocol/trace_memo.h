#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tarnwick {

// The memo keeps at most this many of its latest lines.
inline constexpr size_t kTraceMemoMaxLines = 5000;
// Lines dropped at once when the memo is full, so a screen showing it is
// rebuilt once per this many lines rather than on every line.
inline constexpr size_t kTraceMemoDropChunk = 500;

// The debug trace memInfo: the system's one diagnostic sink. Lines are added
// on the UI thread; the debug page shows them through the observer. Only the
// latest lines are kept; the oldest go in chunks, and the memo says how many
// went.
class TraceMemo {
  public:
    void Add(const std::string& line);
    void Clear();
    const std::vector<std::string>& Lines() const { return lines_; }
    // Lines added since the last Clear, kept or dropped.
    size_t Added() const { return dropped_ + lines_.size(); }
    size_t Dropped() const { return dropped_; }
    // The line saying how many lines went, or empty text when none did.
    std::string DroppedNotice() const;
    // The notice, if any, then all lines, joined by CR LF.
    std::string Text() const;
    void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    // Every line added is also handed here (a copy of the trace in a file).
    void SetMirror(std::function<void(const std::string&)> mirror) { mirror_ = std::move(mirror); }

  private:
    std::vector<std::string> lines_;
    size_t dropped_ = 0;
    std::function<void()> observer_;
    std::function<void(const std::string&)> mirror_;
};

}  // namespace tarnwick
