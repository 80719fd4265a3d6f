#include "cli_codes.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>

#include "host_options.h"
#include "storage/small_file.h"

namespace tarnwick::cli {
namespace {

constexpr size_t kMaxPassphraseFileBytes = 4096;

std::optional<std::string> GivenPassphrase(const CodeOptions& options) {
    if (!options.passphraseFile.empty()) {
        std::string text;
        try {
            text = ReadSmallFile(options.passphraseFile, kMaxPassphraseFileBytes);
        } catch (const FileReadError& e) {
            throw UsageError(options.passphraseFile + ": 口令文件无法读取（" + e.what() + "）");
        }
        text = text.substr(0, text.find('\n'));
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty()) throw UsageError(options.passphraseFile + ": 口令文件是空的");
        return text;
    }
    if (const char* variable = std::getenv(kPassphraseVariable); variable && *variable)
        return std::string(variable);
    return std::nullopt;
}

}  // namespace

void AddCodeOptions(CLI::App& command, CodeOptions& options, bool withCodes) {
    command.add_option("--passphrase-file", options.passphraseFile,
                       "File whose first line is the passphrase that seals and opens the codes "
                       "(else $TARNWICK_PASSPHRASE)");
    if (withCodes)
        command.add_flag("--with-codes", options.withCodes,
                         "Keep the installer and user codes in clear in the files written");
}

std::unique_ptr<CodeKeys> MakeCodeKeys(const CodeOptions& options) {
    return std::make_unique<CodeKeys>(GivenPassphrase(options), TeamKeyPath());
}

CodeForm FileCodeForm(const CodeOptions& options, CodeKeys& keys) {
    if (!options.withCodes) return keys.DefaultForm();
    std::cerr << kWithCodesWarning << std::endl;
    return CodeForm::Full;
}

}  // namespace tarnwick::cli
