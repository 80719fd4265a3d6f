#pragma once
#include <string_view>

#include "programming/programming_page.h"

namespace tarnwick {

// tsCommuncaiotnSetting: installer code, the four users, the eight alarm
// call numbers and their call types (sections 00 to 02), the account and
// timing of the first part of section 03, and the communication fields of
// section 07.
class CommunicationPage : public ProgrammingPage {
  public:
    static constexpr int kUsers = 4;
    static constexpr int kNumbers = 8;
    static constexpr int kSirenAddressDigits = 8;
    // The lists that show one two-digit parameter each, in the order the
    // loader selects them.
    struct ValueList {
        std::string_view control;
        std::string_view caption;
        std::string_view key;
    };
    static const ValueList kValueLists[10];

    CommunicationPage();
    // "1#用户" .. "4#用户" and "第1组" .. "第8组".
    static std::string UserCaption(int user);
    static std::string NumberCaption(int number);

    void Prepare() override { ClearCommunicationPage(); }
    CommandList ReadList() override;
    void LoadPage(const DeviceParams& stored) override { LoadCommunicationPage(stored); }
    void QueueSections(CommandList& list, SectionWriter& writer) const override;

    void ClearCommunicationPage();
    void LoadCommunicationPage(const DeviceParams& stored);
    // The body of section "00", "01", "02", "03" or "07" from the controls.
    std::string EncodeCommunicationSection(std::string_view section, SectionWriter& writer) const;
};

}  // namespace tarnwick
