#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnwick {

// Who may read a file the tool writes.
enum class FileAccess {
    OwnerOnly,  // created 0600: the file holds the installer's codes
    AsUsual,    // the mode an earlier file of the name had, else 0666 less the umask
};

// A file that could not be written. `Reason` is the system's text or ours,
// without the path, which `Path` holds.
class FileWriteError : public std::runtime_error {
  public:
    FileWriteError(std::string path, const std::string& reason)
        : std::runtime_error(reason), path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

inline constexpr const char* kReadOnlyTargetText = "文件是只读的，未覆盖";
inline constexpr const char* kNotAFileTargetText = "这个名字不是普通文件，未覆盖";

// The new content of a file, written beside it under a name of its own and
// put in its place whole. The temporary file is made new (never opened
// through a link or onto something already there), so that several writers
// of one name never meet and nothing planted beside the target is written
// to. A target that is not a regular file, or one the user may not write (a
// file marked read-only counts so even for root), is never replaced.
// Without Commit the temporary file is removed again.
class ReplacementFile {
  public:
    // Throws FileWriteError when the folder takes no new file.
    ReplacementFile(std::string target, FileAccess access);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Where the content goes until Commit, for writers that want a path.
    const std::string& TemporaryPath() const { return temporary_; }
    // Appends `text` to the temporary file. Throws FileWriteError.
    void Write(std::string_view text);
    // Puts the temporary file in the target's place, its data on the disk
    // first. Throws FileWriteError (the target left as it was).
    void Commit();
    // Like Commit, but only where no file of the target's name exists: false
    // (and the temporary file removed) when one came first.
    bool CommitIfAbsent();

  private:
    void Discard();
    // Checks the temporary file and puts its data on the disk.
    void Finish();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    bool committed_ = false;
};

// `text` as the whole content of `path`, through a ReplacementFile.
void ReplaceFileContent(const std::string& path, std::string_view text, FileAccess access);

}  // namespace tarnwick
