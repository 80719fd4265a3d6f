#pragma once
#include <functional>
#include <string>
#include <vector>

namespace tarnwick {

// The debug trace memInfo: the system's one diagnostic sink. Lines are added
// on the UI thread; the debug page shows them through the observer.
class TraceMemo {
  public:
    void Add(const std::string& line);
    void Clear();
    const std::vector<std::string>& Lines() const { return lines_; }
    // All lines joined by CR LF.
    std::string Text() const;
    void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }

  private:
    std::vector<std::string> lines_;
    std::function<void()> observer_;
};

}  // namespace tarnwick
