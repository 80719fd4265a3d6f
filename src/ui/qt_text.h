#pragma once
#include <QString>
#include <string_view>

namespace tarnwick::ui {

// The core's UTF-8 text as Qt text.
inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tarnwick::ui
