#pragma once
#include <functional>
#include <map>
#include <string>

#include "protocol/host_session.h"
#include "protocol/name_value_list.h"
#include "protocol/reply_result.h"

namespace tarnwick {

class ClockPort;

// What a reply decoder may touch besides the reply itself.
struct DecodeContext {
    DeviceParams& params;
    const CodeTable& alarmCodes;
    const CodeTable& operateCodes;
    HostSession& session;
    // The PC's clock, for decoders whose text starts with the time.
    ClockPort* clock = nullptr;
};

// A decoder gets the upper-cased, unescaped reply and reports what it came
// to (ReplyResult{} when the reply carried values rather than an outcome).
using ReplyDecoder = std::function<ReplyResult(const std::string& reply, DecodeContext& ctx)>;

// Module class (two hex digits) to its reply decoder. A class without a
// decoder makes the exchange return the reply itself.
class DecoderRegistry {
  public:
    void Register(const std::string& moduleClass, ReplyDecoder decoder);
    const ReplyDecoder* Find(const std::string& moduleClass) const;

  private:
    std::map<std::string, ReplyDecoder> decoders_;
};

}  // namespace tarnwick
