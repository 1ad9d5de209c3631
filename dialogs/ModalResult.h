#pragma once
// Results of a modal form: what QDialog::exec() returns for our forms.
// The values are the ones the message box and installer callers compare
// against (6 means Yes, 2 means Cancel, ...).

namespace scr {

enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

} // namespace scr
