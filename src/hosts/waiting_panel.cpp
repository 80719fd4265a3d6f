#include "hosts/waiting_panel.h"

#include <algorithm>

namespace tarnwick {

std::string PercentText(int position, int maximum) {
    if (maximum <= 0) return "0%";
    // Exact in integers: 100 * position / maximum with ties to the even side.
    long long numerator = 100LL * position;
    long long whole = numerator / maximum;
    long long rest = numerator % maximum;
    if (2 * rest > maximum || (2 * rest == maximum && whole % 2 != 0)) ++whole;
    return std::to_string(whole) + "%";
}

void WaitingPanel::Show(const std::string& titleText) {
    visible = true;
    title = titleText;
    percent = "0%";
    Changed();
}

void WaitingPanel::Hide() {
    visible = false;
    Changed();
}

void WaitingPanel::SetTitle(const std::string& titleText) {
    title = titleText;
    Changed();
}

void WaitingPanel::Reset(int maximumValue, int stepValue) {
    position = 0;
    maximum = maximumValue;
    step = stepValue;
    Changed();
}

void WaitingPanel::StepIt() {
    position = std::min(position + step, maximum);
    percent = PercentText(position, maximum);
    Changed();
}

void WaitingPanel::Advance() {
    position = std::min(position + step, maximum);
    Changed();
}

}  // namespace tarnwick
