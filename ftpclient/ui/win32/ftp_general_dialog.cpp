#include "ftp_general_dialog.h"

#include "tolviftp_ids.h"

namespace {

void DDX_Flag(FwDataExchange& dx, int id, bool& flag)
{
    int value = flag ? 1 : 0;
    DDX_Check(dx, id, value);
    if (dx.saving)
        flag = value != 0;
}

}  // namespace

FtpGeneralDialog::FtpGeneralDialog(HWND owner, const FtpGeneralSettings& values)
    : FwDialog(IDD_FTP_GENERAL_SETTINGS, owner), settings(values)
{
}

void FtpGeneralDialog::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_GEN_EMAIL, settings.email);
    DDX_Text(dx, IDC_GEN_TEMP_DIR, settings.tempDir);
    DDX_Text(dx, IDC_GEN_LOG_FILE, settings.logFile);
    DDX_Flag(dx, IDC_GEN_ENABLE_LOG, settings.enableLog);
    DDX_Flag(dx, IDC_GEN_VERBOSE, settings.verbose);
    DDX_Flag(dx, IDC_GEN_DEBUG, settings.debug);
    DDX_Flag(dx, IDC_GEN_RETAIN, settings.retain);
    DDX_Flag(dx, IDC_GEN_ZERO_WARNING, settings.warningIfZeroLength);
    DDX_Flag(dx, IDC_GEN_AUTO_NAME, settings.autoName);
    DDX_Flag(dx, IDC_GEN_AUTO_DELETE, settings.autoDelete);
    DDX_Flag(dx, IDC_GEN_CONFIRM, settings.confirm);
    DDX_Flag(dx, IDC_GEN_AUTO_SIZE, settings.autoSizeWindow);
    DDX_Flag(dx, IDC_GEN_APPEND, settings.appendMode);
    DDX_Flag(dx, IDC_GEN_AVOID_ZERO, settings.avoidZero);
}
