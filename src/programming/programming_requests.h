#pragma once
#include <string>
#include <string_view>

#include "protocol/command_entry.h"

namespace tarnwick {

// Module class 11 carries the programming content: command 81 reads a
// section (answered by 01), command 82 writes one (answered by 02).
inline constexpr std::string_view kProgrammingClass = "11";
inline constexpr std::string_view kReadSectionPair = "1181:1101 读取报警主机编程内容";
inline constexpr std::string_view kWriteSectionPair = "1182:1102 编程报警主机";
// Opening a host reads section 00 for its installer code under this label.
inline constexpr std::string_view kInstallerCodeReadPair = "1181:1101 读取报警主机的编程内容";
// The debug page's read of a chosen section.
inline constexpr std::string_view kDebugSectionReadPair = "1181:1101 读取报警主机编程内容应答";

// Read of section 0..7: pair label + "NN", data "08" NN.
CommandEntry ReadSectionRequest(int section);

// Where the decoder leaves the installer code of section 00.
inline constexpr std::string_view kInstallerCodeKey = "Prog00_Installer";

// Section 00 read under kInstallerCodeReadPair.
CommandEntry InstallerCodeRequest();

// Write of section 0..7: pair label + "NN", data "09" NN and the body. The
// body is upper-cased; one that is not exactly the section's length of hex
// digits throws ConversionError, so a misfitting body is never sent.
CommandEntry WriteSectionRequest(int section, std::string_view body);

}  // namespace tarnwick
