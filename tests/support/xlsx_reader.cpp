#include "support/xlsx_reader.h"

#include <cstdio>
#include <regex>
#include <stdexcept>

namespace tarnwick::testing {
namespace {

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// One member of the zip archive; empty text when it is absent.
std::string Member(const std::string& path, const std::string& member) {
    const std::string command = "unzip -p " + Quoted(path) + " " + Quoted(member) + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run unzip");
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

std::string Unescape(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities)
        for (size_t pos; (pos = text.find(from)) != std::string::npos;)
            text.replace(pos, std::string(from).size(), to);
    return text;
}

// The texts of all <t> elements inside `xml`, joined (rich text runs).
std::string Texts(const std::string& xml) {
    static const std::regex kText("<t(?: [^>]*)?>([^<]*)</t>");
    std::string out;
    for (std::sregex_iterator it(xml.begin(), xml.end(), kText), end; it != end; ++it)
        out += Unescape((*it)[1]);
    return out;
}

size_t ColumnIndex(const std::string& letters) {
    size_t n = 0;
    for (char c : letters) n = n * 26 + static_cast<size_t>(c - 'A' + 1);
    return n - 1;
}

}  // namespace

XlsxContent ReadXlsx(const std::string& path) {
    XlsxContent content;
    const std::string workbook = Member(path, "xl/workbook.xml");
    if (workbook.empty()) throw std::runtime_error("no workbook in " + path);
    static const std::regex kSheet("<sheet [^>]*name=\"([^\"]*)\"");
    for (std::sregex_iterator it(workbook.begin(), workbook.end(), kSheet), end; it != end; ++it)
        content.sheetNames.push_back(Unescape((*it)[1]));

    std::vector<std::string> shared;
    const std::string strings = Member(path, "xl/sharedStrings.xml");
    static const std::regex kItem("<si>([\\s\\S]*?)</si>");
    for (std::sregex_iterator it(strings.begin(), strings.end(), kItem), end; it != end; ++it)
        shared.push_back(Texts((*it)[1]));

    const std::string sheet = Member(path, "xl/worksheets/sheet1.xml");
    static const std::regex kCell("<c r=\"([A-Z]+)([0-9]+)\"([^>]*?)(?:/>|>([\\s\\S]*?)</c>)");
    static const std::regex kValue("<v>([^<]*)</v>");
    for (std::sregex_iterator it(sheet.begin(), sheet.end(), kCell), end; it != end; ++it) {
        const size_t row = std::stoul((*it)[2]) - 1;
        const size_t col = ColumnIndex((*it)[1]);
        const std::string attributes = (*it)[3], body = (*it)[4];
        std::string text;
        std::smatch value;
        if (attributes.find("t=\"s\"") != std::string::npos &&
            std::regex_search(body, value, kValue))
            text = shared.at(std::stoul(value[1]));
        else if (attributes.find("t=\"inlineStr\"") != std::string::npos)
            text = Texts(body);
        else if (std::regex_search(body, value, kValue))
            text = Unescape(value[1]);
        if (content.cells.size() <= row) content.cells.resize(row + 1);
        if (content.cells[row].size() <= col) content.cells[row].resize(col + 1);
        content.cells[row][col] = text;
    }
    return content;
}

}  // namespace tarnwick::testing
