#pragma once
#include <string>

#include "protocol/decoder_registry.h"
#include "protocol/host_session.h"
#include "protocol/name_value_list.h"

namespace tarnwick::testing {

// Everything a reply decoder may touch, empty, without a data module.
struct DecodeFixture {
    DeviceParams params;
    CodeTable alarmCodes;
    CodeTable operateCodes;
    HostSession session;
    DecodeContext ctx{params, alarmCodes, operateCodes, session};

    // The store's entries in order, as "name=value|name=value|".
    std::string Stored() const {
        std::string out;
        for (const auto& [name, value] : params.Entries()) out += name + "=" + value + "|";
        return out;
    }
};

}  // namespace tarnwick::testing
