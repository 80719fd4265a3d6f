#include "programming/zone_page.h"

#include "programming/programming_layout.h"
#include "programming/value_lists.h"

namespace tarnwick {

std::string ZoneRowCaption(const ZoneLayout& layout, int zone) {
    return "防区" + std::to_string(zone + layout.firstZoneNumber - 1);
}

ZonePage::ZonePage(const ZoneLayout& layout) {
    const size_t zoneDigits = layout.columns.size() - 1;
    for (int zone = 1; zone <= kZonesPerPage; ++zone) {
        const std::string key = "Prog" + SectionCode(layout.section) + "_" + std::to_string(zone);
        for (size_t col = 0; col < layout.columns.size(); ++col) {
            const ZoneColumn& column = layout.columns[col];
            const std::string name = Numbered(column.base, zone);
            const std::string caption =
                ZoneRowCaption(layout, zone) + " " + std::string(column.caption);
            Control& control = column.items ? CaptionedCombo(name, caption, column.items())
                                            : GridCheck(name, caption);
            if (col < zoneDigits)
                Describe(control, {.key = key,
                                   .offset = col + 1,
                                   .width = 1,
                                   .coding = column.coding,
                                   .unreadable = column.unreadable,
                                   .valueOffset = column.valueOffset});
            else
                Describe(control, {.key = std::string(layout.stayKey),
                                   .offset = static_cast<size_t>(zone),
                                   .width = 1,
                                   .coding = FieldCoding::Flag});
        }
    }
    struct Cross {
        const char* caption;
        std::vector<std::string> items;
        size_t offset;
        size_t width;
        FieldCoding coding;
    };
    const Cross cross[] = {
        {"防区1", layout.pairList(), 1, 2, layout.crossZones},
        {"防区2", layout.pairList(), 3, 2, layout.crossZones},
        {"交叉时间", ThreeSecondSteps("00 - 系统关闭防区交叉逻辑功能"), 5, 2, FieldCoding::Index},
        {"触发次数", TriggerCountList(), 7, 1, FieldCoding::Index},
    };
    // The eighth digit goes back as stored: the decoder keeps it "0".
    for (size_t i = 0; i < std::size(cross); ++i)
        Describe(
            CaptionedCombo(std::string(layout.crossLists[i]),
                           std::string(layout.crossGroup) + " " + cross[i].caption, cross[i].items),
            {.key = std::string(layout.crossKey),
             .offset = cross[i].offset,
             .width = cross[i].width,
             .coding = cross[i].coding});
}

}  // namespace tarnwick
