#include "app/interface_locale.h"

namespace tarnwick {

std::string InterfaceLocale(std::string_view systemLocale) {
    const std::string_view name = systemLocale.substr(0, systemLocale.find_first_of(".@"));
    const bool chinese = name.size() == 5 && name.substr(0, 3) == "zh_";
    return chinese ? std::string(name) : std::string("zh_CN");
}

}  // namespace tarnwick
