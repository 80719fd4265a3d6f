#pragma once
#include <initializer_list>

#include "hosts/page_branch.h"

namespace tarnwick {

// The read list of a programming page: one section read per section.
CommandList SectionReads(std::initializer_list<int> sections);

// The programming pages, each reading the sections it shows.
class WiredZonePage : public PageBranch {
  public:
    WiredZonePage() : PageBranch("tsWireDefenceZone", "有线防区") {}
    CommandList ReadList() override { return SectionReads({4, 7}); }
};

class WirelessZonePage : public PageBranch {
  public:
    WirelessZonePage() : PageBranch("tsWirelessDefenceZone", "无线防区") {}
    CommandList ReadList() override { return SectionReads({5, 7}); }
};

class CommunicationPage : public PageBranch {
  public:
    CommunicationPage() : PageBranch("tsCommuncaiotnSetting", "通讯参数") {}
    CommandList ReadList() override { return SectionReads({0, 1, 2, 3, 7}); }
};

class SystemProgramPage : public PageBranch {
  public:
    SystemProgramPage() : PageBranch("tsSystemProgram", "系统编程") {}
    CommandList ReadList() override { return SectionReads({3, 7}); }
};

}  // namespace tarnwick
