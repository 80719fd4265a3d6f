#include "protocol/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace tarnwick {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Bytes a bad sequence starting at `pos` takes up: one byte for GBK input;
// for UTF-8 input the lead byte and its continuation bytes, so a character
// that cannot be converted is replaced once, not once per byte.
using SkipFn = size_t (*)(std::string_view, size_t);

size_t SkipOneByte(std::string_view, size_t) {
    return 1;
}

size_t SkipUtf8Character(std::string_view in, size_t pos) {
    size_t n = 1;
    while (pos + n < in.size() && n < 4 && (static_cast<unsigned char>(in[pos + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

// Runs iconv over the whole input; on a sequence it cannot convert it emits
// `bad` and skips that sequence, so every input yields some output.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view bad,
                    SkipFn skip) {
    std::string out;
    if (in.empty()) return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[512];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (truncated sequence at the end): replace it.
        out.append(bad);
        size_t n = skip(in, static_cast<size_t>(src - in.data()));
        if (n > srcLeft) n = srcLeft;
        src += n;
        srcLeft -= n;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    // Plain ASCII needs no conversion; it is the common case on the wire.
    bool ascii = true;
    for (unsigned char c : gbk) ascii = ascii && c < 0x80;
    if (ascii) return std::string(gbk);
    return Convert("UTF-8", "GBK", gbk, kReplacement, SkipOneByte);
}

std::string Utf8ToGbk(std::string_view utf8) {
    bool ascii = true;
    for (unsigned char c : utf8) ascii = ascii && c < 0x80;
    if (ascii) return std::string(utf8);
    return Convert("GBK", "UTF-8", utf8, "?", SkipUtf8Character);
}

std::string CutGbkToWidth(std::string_view gbk, size_t width) {
    size_t end = 0;
    while (end < gbk.size()) {
        // A byte from 81 up opens a two-byte character.
        size_t n = static_cast<unsigned char>(gbk[end]) >= 0x81 ? 2 : 1;
        if (end + n > width) break;
        end += n;
    }
    return std::string(gbk.substr(0, std::min(end, gbk.size())));
}

}  // namespace tarnwick
