#pragma once
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hosts/page_branch.h"
#include "modules/gprs_fields.h"
#include "protocol/name_value_list.h"
#include "protocol/reply_result.h"

namespace tarnwick {

class HostWindow;

// A named group box of the page and the controls it holds, in reading order.
struct GprsGroup {
    std::string name;
    std::string caption;
};

// tsGPRS: the settings of the GPRS module, its restart and factory reset.
// Every save compares the controls with what the last refresh stored; a
// setting whose query got no valid reply is written only when the operator
// filled in its whole group since that refresh, so values the operator never
// saw are not overwritten with empty ones.
class GprsPage : public PageBranch {
  public:
    explicit GprsPage(HostWindow& window);

    // ClearGprsPage.
    void Prepare() override;
    CommandList ReadList() override;
    // LoadGprsPage.
    void Load(const DeviceParams& stored) override;
    // Throws SaveRefused when the heartbeat or a phone number cannot be sent.
    CommandList SaveList(const DeviceParams& stored) override;

    // The caption shown beside a control, empty for one without.
    const std::string& CaptionOf(const std::string& control) const;
    static const std::vector<GprsGroup>& Groups();

    // bbtnDefaultSetGPRSClick: `clicked` is bbtnRebootGPRS or bbtnDefaultSetGPRS.
    void DefaultSetClick(const std::string& clicked);

    // The group data of phone number group 0 … 3 built from the controls.
    std::string EncodePhoneGroup(int group) const;
    // The memo's addresses as name server list data, and as the text the
    // module's reply is stored as.
    std::string EncodeDnsServerList() const;
    std::string JoinDnsServerList() const;
    // APN, user name and password as the data of the network parameters.
    std::string EncodeApnSettings() const;

  private:
    void Declare();
    void BindChecks();
    // A write's data, and where in it the passwords it carries stand
    // (offset and length), so that no log row keeps them.
    struct WriteData {
        std::string data;
        std::vector<DataSpan> secret;
    };
    // A field's value as compared with what was stored, as sent, and as
    // encoded into a write of several fields.
    std::string Value(const GprsField& field) const;
    std::string Sent(const GprsField& field) const;
    std::string PhoneDigits(const GprsField& field) const;
    std::string Encode(const GprsField& field) const;
    WriteData Data(const GprsWrite& write) const;
    bool Differs(const GprsWrite& write, const DeviceParams& stored) const;
    static std::vector<std::string> ReadKeys(const GprsWrite& write);
    // A write whose query the last refresh answered is compared as usual.
    // One whose query failed holds nothing the module has: untouched it is
    // not written; touched, it is written only when every field of it is
    // filled, and otherwise the whole save is refused, naming its fields.
    enum class GroupWrite { Compare, Skip, Refuse };
    GroupWrite Judge(const DeviceParams& stored, const GprsWrite& write) const;
    // The writes that are skipped, by pair; throws SaveRefused for the
    // groups that must not be written.
    std::set<std::string> JudgeGroups(const DeviceParams& stored) const;
    bool Filled(const std::string& control) const;
    // The caption a box names a control by: without its colon, else its hint.
    std::string FieldName(const std::string& control) const;
    // Throws SaveRefused for a changed number outside its range or a phone
    // number that cannot be sent, before any control is touched.
    void RefuseUnsendable(const DeviceParams& stored) const;
    void Restart();
    void FactoryReset();
    ReplyResult RunModuleAction(std::string_view pair);

    HostWindow& window_;
    std::set<std::string> touched_;
};

}  // namespace tarnwick
