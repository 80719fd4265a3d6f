#pragma once
#include <functional>
#include <optional>

#include "backup/snapshot_codes.h"
#include "hosts/captioned_edits.h"
#include "hosts/page_model.h"

namespace tarnwick {

inline constexpr const char* kPassphraseTitle = "配置中密码的口令";
inline constexpr const char* kSealPurposeText =
    "备份中的安装员密码和用户密码将用口令加密，恢复时需要同一口令。\n不输入口令（取消）则备份中不含"
    "密码。";
inline constexpr const char* kOpenPurposeText =
    "这个配置文件中的密码已用口令加密，请输入加密时的口令。\n取消则不使用文件中的密码。";
inline constexpr const char* kForgetPassphraseCaption = "不记住口令，每次需要时都询问";

// The dialog that asks for the passphrase of the codes, without its widgets:
// the masked passphrase, what it is for, and whether this run may keep it.
class PassphraseDialog {
  public:
    PassphraseDialog();
    static constexpr CaptionedEdit kPassphrase = {"edtPassphrase", "lblPassphrase", "口令", 128};

    // CodeKeys::askPassphrase: the dialog for sealing or for a sealed file;
    // nullopt when cancelled or left empty. The typed text never stays in
    // the dialog.
    std::optional<PassphraseAnswer> Ask(bool sealedFile);

    PageModel controls;
    // Shows the dialog modally; true for OK.
    std::function<bool(PassphraseDialog&)> show;
};

}  // namespace tarnwick
