#include "backup/passphrase_dialog.h"

namespace tarnwick {

PassphraseDialog::PassphraseDialog() {
    AddCaptionedEdits(controls, {&kPassphrase, 1});
    controls[kPassphrase.edit].password = true;
    controls[kPassphrase.edit].secret = true;
    controls.Label("lblPassphrasePurpose");
    controls.Check("chkForgetPassphrase", kForgetPassphraseCaption).caption =
        kForgetPassphraseCaption;
    controls.Button("bbtnPassphraseOk", "确定");
    controls.Button("bbtnPassphraseCancel", "取消");
}

std::optional<PassphraseAnswer> PassphraseDialog::Ask(bool sealedFile) {
    Control& edit = controls[kPassphrase.edit];
    edit.text.clear();
    controls["lblPassphrasePurpose"].text = sealedFile ? kOpenPurposeText : kSealPurposeText;
    const bool accepted = show && show(*this);
    PassphraseAnswer answer{edit.text, !controls["chkForgetPassphrase"].checked};
    // The widgets keep nothing either.
    edit.text.clear();
    controls.Changed();
    if (!accepted || answer.passphrase.empty()) return std::nullopt;
    return answer;
}

}  // namespace tarnwick
