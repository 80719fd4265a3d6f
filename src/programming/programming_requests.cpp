#include "programming/programming_requests.h"

#include <cctype>

#include "programming/programming_layout.h"
#include "protocol/conversion_error.h"
#include "protocol/hex_text.h"

namespace tarnwick {

CommandEntry ReadSectionRequest(int section) {
    std::string nn = SectionCode(ProgrammingSection(section).section);
    CommandEntry entry = Request(kReadSectionPair, "08" + nn);
    entry.pair += nn;
    return entry;
}

CommandEntry InstallerCodeRequest() {
    return Request(kInstallerCodeReadPair, "08" + SectionCode(ProgrammingSection(0).section));
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
    CommandEntry entry = Request(kWriteSectionPair, "09" + nn + digits);
    entry.pair += nn;
    return entry;
}

}  // namespace tarnwick
