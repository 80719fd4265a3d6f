#pragma once
#include <string>

namespace tarnwick {

// Holds an exclusive lock on a file for the life of the process. The system
// drops the lock when the process ends in any way, so a crash never blocks
// the next start.
class SingleInstanceLock {
  public:
    explicit SingleInstanceLock(const std::string& path);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    // False when another process holds the lock.
    bool Acquired() const { return fd_ >= 0; }
    // $TARNWICK_LOCK_FILE, else a per-user file in the runtime or temp folder.
    static std::string DefaultPath();

  private:
    int fd_ = -1;
};

}  // namespace tarnwick
