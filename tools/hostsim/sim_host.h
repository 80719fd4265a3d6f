#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "faults.h"

namespace tarnwick::hostsim {

// What the host reports about itself in a search answer. The address, mask and
// gateway are also the network module's local network settings, so a change
// of those settings shows in the next search.
struct Identity {
    std::string ip;
    std::string port = "5200";
    std::string deviceId;
    std::string moduleType = "以太网+GPRS通讯模块";
    std::string hostType = "十六防区报警主机";
    std::string mask = "255.255.0.0";
    std::string gateway;
};

struct GprsModule {
    std::string deviceId = "000123";
    std::string apn1 = "CMNET", ip1 = "10.231.200.1", port1 = "7000";
    std::string domain1 = "centre1.alarm.lan";
    std::string apn2 = "CMNET", ip2 = "10.231.200.2", port2 = "7001";
    std::string domain2 = "centre2.alarm.lan";
    std::string user, password;
    unsigned heartbeat = 60;
    // Phone fields kept as the 22 hex digits the module holds.
    std::string managePhone;
    std::array<std::string, 3> progPhones;
    std::array<std::string, 8> alarmPhones;
    std::string alarmPhoneStatus = "30000000";
    std::string smsCentre;
    std::string smsCentreStatus = "01";
    std::vector<std::string> dnsServers = {"10.231.200.53", "10.231.200.54"};
    std::array<std::string, 4> versions = {"BOOT V1.02", "KERNEL V2.6.18", "ROOTFS V1.10",
                                           "APP V3.25"};
    std::string bootSms = "01", reportSms = "00", infoSms = "01";
    std::string smsPassword = "000000";
};

struct NetworkModule {
    std::string ip1 = "10.231.200.1", port1 = "7000", domain1 = "centre1.alarm.lan";
    std::string ip2 = "10.231.200.2", port2 = "7001", domain2 = "centre2.alarm.lan";
    unsigned heartbeat = 30;
    std::string netMode = "01";
    std::string netSwitch = "07";
    std::string dhcp = "01";
    // The two name server fields, as the 30 hex digits the module holds.
    std::string dns1, dns2;
};

// The network module's firmware upgrade: after accepting the order the
// module reports the outcome to the tool's listener once `reportDelayMs` has
// passed; `report` is the outcome byte (01 success, 02 failure, anything
// else), empty for no report at all.
struct Upgrade {
    std::string report = "01";
    int reportDelayMs = 5000;
    std::string lastServer;  // the upgrade address of the last order
};

// A frame the host sends on its own, `delayMs` after the reply that caused it,
// to the requester's listener: class, command and data hex.
struct LaterFrame {
    int delayMs = 0;
    std::string moduleClass, command, data, note;
};

// Bytes of the working status reply. System status bits: 7 control locked,
// 6 linkage on, 5 alarm sound on, 4 telephone line, 2 tamper, 1 battery, 0 mains.
// Mode: 00 disarmed, 01 armed away, 02 armed at home.
struct WorkingStatus {
    uint8_t system = 0x13;
    uint8_t mode = 0x00;
    uint8_t zones1_8 = 0x00, zones9_16 = 0x00;
    uint8_t bypass1_8 = 0x00, bypass9_16 = 0x00;
    uint8_t csq = 23;
};

// A datagram a host sends by itself some time after a reply of the same module class
// (the learning report after a pair command). `stillDue` decides at sending time whether it
// still leaves, and may change the host.
struct FollowUp {
    std::string command;
    std::string data;
    int afterMs = 0;
    std::function<bool()> stillDue;
    std::string note;
};

// Wireless pairing: the device slots (six hex digits: kind, zone or 07,
// number or sub-address) the host knows, and the device the installer
// triggers after a pair command.
struct Pairing {
    int learnAfterMs = 2000;           // the device is triggered this long after; -1 never
    bool duplicate = false;            // the triggered device was learned before (report 04)
    std::vector<std::string> paired;   // slots already paired (answer state 02)
    std::vector<std::string> missing;  // sub-addresses the host does not have (state 00)
    bool active = false;               // in pairing state
    std::string slot;                  // the slot being paired
    uint64_t generation = 0;           // counts pair commands; a report of an older one is void
};

// One simulated alarm host with its network module and GPRS module.
struct SimHost {
    std::string address;    // the lab address it is played at
    std::string source;     // the snapshot file it plays, if any
    std::string stateName;  // its file in the state folder, without ".json"
    Identity identity;
    std::array<std::string, 8> sections;  // section bodies 00-07, hex
    GprsModule gprs;
    NetworkModule network;
    Upgrade upgrade;
    std::vector<LaterFrame> later;  // taken by the server after each reply
    WorkingStatus status;
    std::string model = "TWK-16 V2.30";
    std::vector<std::string> history;  // alarm records, 22 hex digits, record n at n-1
    uint8_t operatorNumber = 1;
    uint8_t armingCount = 0;
    std::string lastArmingInfo;  // what the acknowledgement must carry back
    std::string clock;           // last time set by the tool, as sent
    std::vector<FaultRule> faults;
    Pairing pairing;
    // Set by a responder, taken by the server with the reply it goes with.
    std::optional<FollowUp> followUp;
    // A scripted silent spell: nothing is answered before this (monotonic ms).
    uint64_t silentUntilMs = 0;

    // The modules as they came from the configuration, for factory resets.
    GprsModule gprsDefaults;
    NetworkModule networkDefaults;
};

// Section body lengths in hex digits, sections 00 to 07.
inline constexpr std::array<size_t, 8> kSectionDigits = {30, 72, 80, 66, 48, 36, 56, 58};

// A host with sensible values everywhere, played at `address`; `index` makes
// its device ID and phone numbers distinct.
SimHost DefaultHost(const std::string& address, int index);
// Sets the installer code (first six digits of section 00).
void SetInstallerCode(SimHost& host, const std::string& code);
// `count` alarm records of every kind the history page shows.
std::vector<std::string> GenerateHistory(int count);
// Appends one record numbered after the last one, stamped with local time.
void AppendHistory(SimHost& host, uint8_t kind, uint8_t b8, uint8_t b9, uint8_t b10,
                   uint8_t alarmCode);

}  // namespace tarnwick::hostsim
