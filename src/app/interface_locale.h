#pragma once
#include <string>
#include <string_view>

namespace tarnwick {

// The locale of the toolkit's own texts (the buttons of the boxes, the file
// dialogs) for a system locale such as "zh_TW.UTF-8": the system's where it
// is a Chinese one, else Simplified Chinese, which the whole interface is
// written in. Given and returned as language_TERRITORY.
std::string InterfaceLocale(std::string_view systemLocale);

}  // namespace tarnwick
