#include "operation/pairing_decoder.h"

#include "protocol/hex_text.h"
#include "protocol/reply_prologue.h"

namespace tarnwick {
namespace {

constexpr size_t kCommandByte = 6;
constexpr size_t kResultByte = 7;
constexpr size_t kMarkerByte = 8;
constexpr size_t kKindByte = 9;
constexpr size_t kStateByte = 10;
constexpr unsigned kMarker = 0xAB;

enum ReplyCommand : unsigned { kPairAnswer = 0x01, kDeleteAnswer = 0x02, kLearningReport = 0x03 };
enum Result : unsigned { kSuccess = 0x01, kFailure = 0x02, kRefused = 0x03 };

constexpr std::string_view kPairingHead = " 无线设备对码:";
constexpr std::string_view kReportHead = " 上报无线设备学习结果:";
constexpr std::string_view kFailureWord = "失败!";
constexpr std::string_view kRefusedWord = "拒绝!";
constexpr std::string_view kBadResultWord = "  返回值S[7]有误!";

struct Word {
    unsigned code;
    std::string_view text;
};

constexpr Word kKindWords[] = {{0x00, " [遥控器]"}, {0x01, " [探测器]"}, {0x02, " [巡更器]"}};
constexpr Word kPairStates[] = {
    {0x00, " 无线设备分地址不存在,请重新选择分地址。"},
    {0x01, " 进入对码状态,可以进行对码操作。"},
    {0x02, " 此无线设备地址已经对码过,请删除此地址后再进行对码。"},
};
constexpr Word kDeleteStates[] = {
    {0x10, ", 删除无线设备地址成功。"},
    {0x11, ", 删除无线设备地址失败。"},
};
constexpr Word kReportStates[] = {
    {0x03, ", 此无线设备对码成功。"},
    {0x04, ", 此无线设备对码重复,此无线设备已经学习过。"},
    {0x05, ", 退出无线设备对码状态。"},
    {0x06, ", 超过4 分钟没对码,自动退出无线设备对码状态。"},
};

// The word of `code` in `words`; nothing for a code without one (and for a
// byte the reply does not hold).
template <size_t N>
std::string_view WordOf(const Word (&words)[N], const ReplyBytes& bytes, size_t byte) {
    if (!bytes.HasData(byte)) return {};
    for (const Word& w : words)
        if (w.code == bytes.At(byte)) return w.text;
    return {};
}

// The device kind when the host took the order, else the word of its result.
std::string_view ResultPart(const ReplyBytes& bytes) {
    switch (bytes.At(kResultByte)) {
        case kSuccess:
            return WordOf(kKindWords, bytes, kKindByte);
        case kFailure:
            return kFailureWord;
        case kRefused:
            return kRefusedWord;
        default:
            return kBadResultWord;
    }
}

std::string PairAnswer(const ReplyBytes& bytes) {
    return std::string(kPairingHead) + std::string(ResultPart(bytes)) +
           std::string(WordOf(kPairStates, bytes, kStateByte));
}

std::string DeleteAnswer(const ReplyBytes& bytes) {
    std::string text = std::string(kPairingHead) + std::string(ResultPart(bytes));
    if (bytes.At(kResultByte) == kSuccess) text += WordOf(kDeleteStates, bytes, kStateByte);
    return text;
}

std::string LearningReport(const ReplyBytes& bytes) {
    std::string text(kReportHead);
    switch (bytes.At(kResultByte)) {
        case kSuccess:
            text += WordOf(kKindWords, bytes, kKindByte);
            text += WordOf(kReportStates, bytes, kStateByte);
            break;
        case kFailure:
            text += kFailureWord;
            break;
        default:
            text += kBadResultWord;  // a refusal included
    }
    return text;
}

}  // namespace

ReplyResult DecodePairingReply(const std::string& reply, const std::string& now) {
    Prologue prologue = RunReplyPrologue(reply);
    if (!prologue.bytes) return prologue.result;
    const ReplyBytes& bytes = *prologue.bytes;
    if (!bytes.HasData(kMarkerByte) || bytes.At(kMarkerByte) != kMarker) return {};
    const unsigned result = bytes.At(kResultByte);
    switch (bytes.At(kCommandByte)) {
        case kPairAnswer:
            return Outcome(result, now + PairAnswer(bytes));
        case kDeleteAnswer:
            return Outcome(result, now + DeleteAnswer(bytes));
        case kLearningReport:
            return Outcome(result, now + LearningReport(bytes));
        default:
            return {};
    }
}

}  // namespace tarnwick
