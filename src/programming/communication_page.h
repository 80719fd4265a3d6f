#pragma once
#include <string>
#include <string_view>

#include "programming/programming_page.h"

namespace tarnwick {

class HostWindow;

// tsCommuncaiotnSetting: installer code, the four users, the eight alarm
// call numbers and their call types (sections 00 to 02), the account and
// timing of the first part of section 03, and the communication fields of
// section 07.
class CommunicationPage : public ProgrammingPage {
  public:
    static constexpr int kUsers = 4;
    static constexpr int kNumbers = 8;
    static constexpr int kSirenAddressDigits = 8;
    // The lists that show one two-digit parameter each.
    struct ValueList {
        std::string_view control;
        std::string_view caption;
        std::string_view key;
    };
    static const ValueList kValueLists[10];

    explicit CommunicationPage(HostWindow& window);
    // "1#用户" .. "4#用户" and "第1组" .. "第8组".
    static std::string UserCaption(int user);
    static std::string NumberCaption(int number);
};

}  // namespace tarnwick
