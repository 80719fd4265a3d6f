#include "programming/programming_requests.h"

#include <cctype>

#include "programming/programming_layout.h"
#include "protocol/conversion_error.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"

namespace tarnwick {

CommandEntry ReadSectionRequest(int section) {
    std::string nn = SectionCode(ProgrammingSection(section).section);
    return {std::string(kReadSectionPair) + nn, BuildFrame(kProgrammingClass, "81", "08" + nn)};
}

CommandEntry WriteSectionRequest(int section, std::string_view body) {
    const SectionLayout& layout = ProgrammingSection(section);
    std::string nn = SectionCode(layout.section);
    std::string digits = ToUpper(body);
    bool hex = true;
    for (char c : digits) hex = hex && std::isxdigit(static_cast<unsigned char>(c));
    if (digits.size() != layout.bodyDigits || !hex)
        throw ConversionError("section " + nn + " needs a body of " +
                              std::to_string(layout.bodyDigits) + " hex digits, not '" + digits +
                              "'");
    return {std::string(kWriteSectionPair) + nn,
            BuildFrame(kProgrammingClass, "82", "09" + nn + digits)};
}

}  // namespace tarnwick
