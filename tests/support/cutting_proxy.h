#pragma once
#include <atomic>
#include <string>
#include <thread>

#include "support/temp_dir.h"

namespace tarnwick::testing {

// A Unix-socket relay in front of a PostgreSQL server's socket folder that,
// when armed, forwards the server's answer to a COMMIT no further and cuts
// both connections: the transaction is committed, and the client learns
// only that the connection broke. Disarmed after one cut.
class CuttingProxy {
  public:
    // `serverFolder`: the folder of the server's socket (port 5432).
    explicit CuttingProxy(std::string serverFolder);
    ~CuttingProxy();
    CuttingProxy(const CuttingProxy&) = delete;
    CuttingProxy& operator=(const CuttingProxy&) = delete;

    // The folder of the relay's socket, for an address's host=.
    std::string Folder() const { return dir_.Path().string(); }
    void CutAfterNextCommit() { armed_ = true; }
    int Cuts() const { return cuts_; }

  private:
    void Serve();
    void Relay(int client);

    std::string server_;
    TempDir dir_;
    int listener_ = -1;
    std::atomic<bool> armed_{false};
    std::atomic<bool> stopping_{false};
    std::atomic<int> cuts_{0};
    std::thread thread_;
};

}  // namespace tarnwick::testing
