#pragma once
#include <cstdint>
#include <string_view>

namespace tarnwick {

// Every port, time-out, pause and period of the tool, in one place.
inline constexpr uint16_t kHostPort = 5200;
inline constexpr std::string_view kBroadcastAddress = "255.255.255.255";
inline constexpr int kCommandTimeoutMs = 3500;  // UDPClient
inline constexpr int kStatusTimeoutMs = 2500;   // UDPClient_Timer
inline constexpr int kBufferReadTimeoutMs = 100;
inline constexpr int kProbeTimeoutMs = 2;
inline constexpr size_t kMaxDatagramBytes = 8192;
// An exchange ends this long after its request at the latest, however many
// stray datagrams keep arriving.
inline constexpr int kExchangeDeadlineMs = 10000;
// Large enough that a burst of ten thousand search answers waits in the kernel.
inline constexpr int kListenerReceiveBufferBytes = 32 * 1024 * 1024;

inline constexpr int kSearchSettleMs = 500;
inline constexpr int kSearchSteps = 100;
inline constexpr int kSearchStepPauseMs = 5;
// The search ends this long after it began, whatever keeps arriving.
inline constexpr int kSearchDeadlineMs = 3000;
inline constexpr int kModifyIpWaitMs = 3000;
// The address change's wait advances the waiting panel in steps of this.
inline constexpr int kModifyIpStepMs = 100;
// Connecting to an address: how long its answer to the search frame is
// waited for, in steps of this many milliseconds, before the login goes on.
inline constexpr int kConnectAnswerWaitMs = 1000;
inline constexpr int kConnectAnswerStepMs = 10;
inline constexpr int kStatusPollPeriodMs = 15000;
// The fleet status: its sockets, the hosts asked at once at most (enough
// that the silent hosts of a thousand are all waited for at once), each
// waited for as the status poll waits (kStatusTimeoutMs) and asked once more
// half-way, and the period of its sweeps. A host is not asked again on a
// socket where its answer to an earlier query may still come for
// kFleetLateAnswerMs.
inline constexpr int kFleetLanes = 32;
inline constexpr int kFleetAtOnce = 1024;
inline constexpr int kFleetPeriodMs = 10000;
inline constexpr int kFleetLateAnswerMs = 30000;
inline constexpr int kPageChangePauseMs = 100;
inline constexpr int kCycleEndPauseMs = 100;
inline constexpr int kStatusReadBackPauseMs = 100;
inline constexpr int kPanelPauseMs = 2;
inline constexpr int kEntryPauseMs = 2;
inline constexpr int kAfterExchangePauseMs = 10;
inline constexpr int kTimedWaitStepMs = 1000;
inline constexpr int kModuleRestartSteps = 60;
inline constexpr int kUpgradeWaitSteps = 70;
// The upgrade server check: connecting (the name lookup included), and the
// whole check from the lookup to the closed connection.
inline constexpr int kFtpConnectTimeoutMs = 5000;
inline constexpr int kFtpCheckTimeoutMs = 15000;
// A name listing longer than this is not taken.
inline constexpr size_t kFtpListingMaxBytes = 4 * 1024 * 1024;
// The pairing window waits this many times this long for the learning report.
inline constexpr int kPairingWaits = 30;
inline constexpr int kPairingWaitMs = 1000;
// While writes wait in the outbox, the team database is asked again this often.
inline constexpr int kOutboxRetryPeriodMs = 15000;
// Serves the window events already pending, without waiting.
inline constexpr int kServePendingMs = 0;

}  // namespace tarnwick
