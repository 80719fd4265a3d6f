#pragma once
#include <cstdio>
#include <string>

namespace tarnwick::hostsim {

// One line per datagram received or sent, and per event worth knowing:
//   2024-05-14 08:30:00.123 recv 10.231.0.1:40123 -> 255.255.255.255:5200 7EB7...7E
//   2024-05-14 08:30:00.124 send 10.231.1.1:5200 -> 10.231.0.1:5200 7E...7E search answer
// Written to a file or to standard error, flushed line by line so that a test
// can read it while the simulator runs.
class SimLog {
  public:
    explicit SimLog(const std::string& path);
    ~SimLog();
    SimLog(const SimLog&) = delete;
    SimLog& operator=(const SimLog&) = delete;

    void Datagram(const char* direction, const std::string& from, const std::string& to,
                  const std::string& payload, const std::string& note = {});
    void Note(const std::string& text);

  private:
    void Line(const std::string& text);
    std::FILE* out_;
    bool owned_;
};

}  // namespace tarnwick::hostsim
