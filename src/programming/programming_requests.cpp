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
    // The codes of the body are no log row's.
    std::vector<DataSpan> codes;
    for (const SectionField& f : layout.entries)
        if (!f.secret.empty()) codes.push_back({4 + f.position - 1, f.width});
    CommandEntry entry = Request(kWriteSectionPair, "09" + nn + digits, codes);
    entry.pair += nn;
    return entry;
}

}  // namespace tarnwick
