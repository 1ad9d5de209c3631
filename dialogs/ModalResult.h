#pragma once
// Results of a modal form: what QDialog::exec() returns for the configuration
// dialog and the installer wizard. The frame's close button ends a modal run
// with mrCancel. (The message box answers with MessageAnswer instead.)

namespace scr {

enum ModalResult : int {
    mrOk = 1,
    mrCancel = 2,
};

} // namespace scr
