#pragma once
#include <functional>
#include <string>

namespace tarnwick {

// The waiting panel PnlWaiting of both windows: title, progress bar and the
// percentage label. The window shows it through the observer.
struct WaitingPanel {
    bool visible = false;
    std::string title;  // lblWaitingTitle
    int position = 0;   // PbarWaiting
    int maximum = 100;
    int step = 1;
    std::string percent;  // lblPBar
    std::function<void()> observer;

    void Show(const std::string& titleText);
    void Hide();
    void SetTitle(const std::string& titleText);
    void Reset(int maximumValue, int stepValue);
    // Advances the bar by its step and shows the percentage.
    void StepIt();
    // Advances the bar by its step and leaves the percentage as it is (the
    // save's steps).
    void Advance();
    void Changed() const {
        if (observer) observer();
    }
};

// position / maximum * 100, rounded half to even, followed by "%".
std::string PercentText(int position, int maximum);

}  // namespace tarnwick
