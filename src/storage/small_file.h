#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>

namespace tarnwick {

// Why a file the operator named could not be read.
class FileReadError : public std::runtime_error {
  public:
    enum class Kind { CannotOpen, NotAFile, TooLarge };
    FileReadError(Kind kind, const std::string& reason) : std::runtime_error(reason), kind_(kind) {}
    Kind What() const { return kind_; }

  private:
    Kind kind_;
};

// The whole content of the regular file `path`, at most `maxBytes` of it.
// A folder, a pipe or a device is refused before anything is read (a pipe
// is never waited on), so is a file larger than `maxBytes`, also one that
// grows past it while it is read. Throws FileReadError; its text is the
// system's reason when the file cannot be opened or read.
std::string ReadSmallFile(const std::string& path, size_t maxBytes);

}  // namespace tarnwick
