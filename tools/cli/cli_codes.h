#pragma once
#include <memory>
#include <string>

#include "backup/snapshot_codes.h"

namespace CLI {
class App;
}

namespace tarnwick::cli {

// How a command keeps the codes of the snapshots it stores and opens the
// sealed ones it reads.
struct CodeOptions {
    std::string passphraseFile;
    bool withCodes = false;
};

// --passphrase-file, and --with-codes where a command may store codes in clear.
void AddCodeOptions(CLI::App& command, CodeOptions& options, bool withCodes);

// The passphrase of --passphrase-file (its first line), else of
// $TARNWICK_PASSPHRASE, and the team key of this user. Throws UsageError for
// a passphrase file that cannot be read.
std::unique_ptr<CodeKeys> MakeCodeKeys(const CodeOptions& options);

// The form of the files a command writes: in clear only with --with-codes
// (saying so on standard error), else sealed with a passphrase, else redacted.
CodeForm FileCodeForm(const CodeOptions& options, CodeKeys& keys);

}  // namespace tarnwick::cli
