// The view's Config/Preferences/Asynch filetransfer commands: each opens its settings dialog.
#include "shell/win32/zolex_view.h"

#include "shell/win32/transfer_settings_commands.h"

void CZolexView::OnTransferSettings()
{
    if (doc_) TransferSettingsCommand(*doc_, window_);
}

void CZolexView::OnKermitSettings()
{
    if (doc_) KermitSettingsCommand(*doc_, window_);
}

void CZolexView::OnXYModemSettings()
{
    if (doc_) XYModemSettingsCommand(*doc_, window_);
}

void CZolexView::OnZModemSettings()
{
    if (doc_) ZModemSettingsCommand(*doc_, window_);
}
