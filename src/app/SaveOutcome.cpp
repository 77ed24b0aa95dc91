#include "app/SaveOutcome.h"

#include "app/AppTexts.h"
#include "app/Product.h"
#include "widgets/MessageBoxes.h"

namespace quenmar {

bool TellSaveOutcome(HWND owner, const StoreOutcome& outcome, SaveFor reason) {
    if (outcome.Done()) {
        if (!outcome.notice.empty()) widgets::ShowMessage(owner, outcome.notice, kApplicationTitle, MB_ICONINFORMATION);
        return true;
    }
    const std::string text = TextOf(reason == SaveFor::Restore ? IDS_RESTORE_FAILED : IDS_SAVE_FAILED) + "\n\n" +
                             outcome.failure;
    const std::string caption = TextOf(IDS_SAVE_FAILED_CAPTION);
    if (reason == SaveFor::Closing) return widgets::AskYesNo(owner, text + "\n\n" + TextOf(IDS_CLOSE_UNSAVED), caption, MB_ICONWARNING);
    widgets::ShowMessage(owner, text, caption, MB_ICONWARNING);
    return false;
}

}  // namespace quenmar
