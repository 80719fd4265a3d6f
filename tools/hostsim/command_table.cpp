#include "command_table.h"

#include "protocol/hex_text.h"

namespace tarnwick::hostsim {

std::string ResultHex(int result) {
    return ByteHex(static_cast<unsigned>(result));
}

std::optional<Reply> Dispatch(std::span<const Command> table, std::string_view moduleClass,
                              SimHost& host, const Request& request) {
    for (const Command& c : table) {
        if (c.request != request.command) continue;
        if (c.answer) return c.answer(host, request);
        Reply reply{std::string(moduleClass), std::string(c.reply), "", false, std::string(c.note)};
        if (c.read) {
            const int result = request.Result(1);
            reply.data = ResultHex(result) + (result == 1 ? c.read(host, request) : "");
            return reply;
        }
        const int result = request.Result(!c.accepts || c.accepts(host, request.data) ? 1 : 2);
        if (result == 1 && c.apply) {
            c.apply(host, request.data);
            reply.changed = true;
        }
        reply.data = ResultHex(result);
        return reply;
    }
    return std::nullopt;
}

}  // namespace tarnwick::hostsim
