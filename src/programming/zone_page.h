#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "programming/programming_page.h"

namespace tarnwick {

// Both zone pages show six zones of one section, a row each, whether each
// zone follows stay arming, and one cross-zone logic of section 07.
inline constexpr int kZonesPerPage = 6;

// A column of the zone grid: the base name of its controls, its caption and
// how its digit is coded. A column with a list names the function that
// gives its entries; one without is a box.
struct ZoneColumn {
    std::string_view base;
    std::string_view caption;
    FieldCoding coding = FieldCoding::Flag;
    std::vector<std::string> (*items)() = nullptr;
    Unreadable unreadable = Unreadable::NoSelection;
    int valueOffset = 0;
};

// What sets one zone page apart from the other.
struct ZoneLayout {
    int section;          // the zones' own section: a key per zone, "Prog04_1" ..
    int firstZoneNumber;  // the host's number of the page's first zone
    // A zone's digits in order, then the stay-arming box (a digit per zone
    // of `stayKey`).
    std::span<const ZoneColumn> columns;
    std::string_view stayKey;
    // The cross-zone lists (zone 1, zone 2, cross time, trigger count) and
    // the key of their seven digits; the two zones are coded `crossZones`
    // from entries of `pairList`.
    std::string_view crossGroup;
    std::span<const std::string_view, 4> crossLists;
    std::string_view crossKey;
    FieldCoding crossZones;
    std::vector<std::string> (*pairList)();
};

// "防区" and the host's number of the page's zone 1 .. 6.
std::string ZoneRowCaption(const ZoneLayout& layout, int zone);

class ZonePage : public ProgrammingPage {
  public:
    explicit ZonePage(const ZoneLayout& layout);
};

}  // namespace tarnwick
