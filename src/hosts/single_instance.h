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
    // False when another process holds the lock or it could not be made.
    bool Acquired() const { return fd_ >= 0; }
    // Another copy holds the lock: this one must not start.
    bool HeldElsewhere() const { return heldElsewhere_; }
    // Whether the program starts: always, unless another copy holds the lock.
    // A lock that cannot be made (a folder of another user, a read-only
    // folder) never stops the start; a second copy is the lesser harm.
    bool MayStart() const { return !heldElsewhere_; }
    // Why the lock could not be made; empty when it was made or is held elsewhere.
    const std::string& Problem() const { return problem_; }
    // $TARNWICK_LOCK_FILE, else a per-user file in the runtime or temp folder.
    static std::string DefaultPath();

  private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
    std::string problem_;
};

}  // namespace tarnwick
