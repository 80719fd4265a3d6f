#include "programming/programming_field.h"

#include <gtest/gtest.h>

#include "app/page_table.h"
#include "programming/programming_layout.h"
#include "programming/programming_page.h"
#include "support/host_window_fixture.h"
#include "support/section_reads.h"

namespace tarnwick {
namespace {

using testing::kSampleBodies;

// What a control (and the partner of a radio pair) shows.
struct Shown {
    int index;
    bool checked;
    std::string text;
    bool partnerChecked;
    bool operator==(const Shown&) const = default;
};

Shown ShownBy(const PageModel& c, const ProgrammingField& field) {
    const Control& control = c[field.control];
    const bool partner = !field.partner.empty() && c[field.partner].checked;
    return {control.index, control.checked, control.text, partner};
}

// Gives the field's control another value than it shows.
void ChangeValue(PageModel& c, const ProgrammingField& field) {
    Control& control = c[field.control];
    switch (field.coding) {
        case FieldCoding::Index:
        case FieldCoding::HexIndex:
        case FieldCoding::EntryText:
            control.index = (control.index + 1) % static_cast<int>(control.items.size());
            break;
        case FieldCoding::Flag:
            control.checked = !control.checked;
            break;
        case FieldCoding::Digits: {
            const std::string ones(field.width, '1');
            control.text = control.text == ones ? std::string(field.width, '2') : ones;
            break;
        }
        case FieldCoding::PhoneNumber:
            control.text = control.text == "123" ? "456" : "123";
            break;
        case FieldCoding::Choice:
            control.checked = !control.checked;
            c[field.partner].checked = !control.checked;
            break;
    }
}

// Every section's body as the page would write it, the read body where it
// writes none.
std::map<int, std::string> Written(const CommandList& list) {
    std::map<int, std::string> bodies;
    for (int s = 0; s < kProgrammingSectionCount; ++s) bodies[s] = kSampleBodies[s];
    for (const CommandEntry& entry : list)
        bodies[testing::WrittenSection(entry)] = testing::WrittenBody(entry);
    return bodies;
}

testing::SectionBodies AllSections(const std::map<int, std::string>& bodies) {
    return {bodies.begin(), bodies.end()};
}

// Each field of each programming page, described once, is written where its
// description says and nowhere else, and reads back as the control showed it.
TEST(ProgrammingField, EveryFieldWritesOnlyItsOwnDigitsAndReadsBackAsShown) {
    testing::HostWindowFixture w;
    const std::map<int, std::string> samples = Written({});
    DeviceParams stored;
    testing::StoreSectionReads(stored, AllSections(samples));
    for (PageId id : {PageId::WiredZones, PageId::WirelessZones, PageId::Communication,
                      PageId::SystemProgram}) {
        auto& page = dynamic_cast<ProgrammingPage&>(StandardPage(w.window, id));
        // A second load drops what the first kept of an earlier save's edits.
        auto fresh = [&] {
            for (int twice = 0; twice < 2; ++twice) {
                page.Prepare();
                page.Load(stored);
            }
        };
        fresh();
        const std::map<int, std::string> unchanged = Written(page.SaveList(stored));
        ASSERT_FALSE(page.Fields().empty());
        for (const ProgrammingField& field : page.Fields()) {
            SCOPED_TRACE(page.PageName() + " " + field.control);
            fresh();
            ChangeValue(page.Controls(), field);
            const Shown edited = ShownBy(page.Controls(), field);
            const std::map<int, std::string> written = Written(page.SaveList(stored));
            for (const auto& [section, body] : written) {
                if (section != field.section) {
                    EXPECT_EQ(body, unchanged.at(section)) << "section " << section;
                    continue;
                }
                const std::string& before = unchanged.at(section);
                ASSERT_EQ(body.size(), before.size());
                size_t changed = 0;
                for (size_t p = 1; p <= body.size(); ++p) {
                    if (body[p - 1] == before[p - 1]) continue;
                    ++changed;
                    EXPECT_GE(p, field.position) << body;
                    EXPECT_LT(p, field.position + field.width) << body;
                }
                EXPECT_GT(changed, 0u) << body;
            }
            DeviceParams reread;
            testing::StoreSectionReads(reread, AllSections(written));
            page.Prepare();
            page.Load(reread);
            EXPECT_EQ(ShownBy(page.Controls(), field), edited);
        }
    }
}

}  // namespace
}  // namespace tarnwick
