#include "dialogs/view_prefs_values.h"

namespace {

int Choice(int stored, int last) { return stored >= 0 && stored <= last ? stored : -1; }

void StoreChoice(int chosen, int32_t& setting)
{
    if (chosen >= 0) setting = chosen;
}

}  // namespace

ViewPrefsValues ViewPrefsValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings)
{
    ViewPrefsValues v;
    v.autoConnect = rec.AutoConnect;
    v.frameSize = rec.FrameSize;
    v.statusbar = rec.Statusbar;
    v.toolbar = rec.Toolbar;
    v.hostHangupClear = rec.HostHangupClearScreen;
    v.pcHangupClear = rec.PCHangupClearScreen;
    v.whenPCHungup = Choice(rec.WhenPCHungup, 2);
    v.whenHostHungup = Choice(rec.WhenHostHungup, 2);
    v.promptForHost = rec.PromptForHost;
    v.alignDisplay = Choice(rec.AlignDisplay, 8);
    v.appName = strings.AppName;
    v.titleConfig = rec.TitleConfig;
    v.titleAppName = rec.TitleAppName;
    v.titleHostName = rec.TitleHostName;
    v.titleConnected = rec.TitleConnected;
    v.titleUniqueText = rec.TitleUniqueText;
    v.showMenu = rec.ShowMenu;
    v.showTitlebar = rec.ShowTitlebar;
    v.singleInstance = rec.SingleInstance;
    v.enableHotspots = rec.EnableHotspots;
    v.msgExit = strings.MsgExit;
    v.maxInstance = rec.MaxInstance < kInstanceCountMin ? kInstanceCountMin : rec.MaxInstance;
    v.enableButtonPanel = rec.EnableButtonPanel;
    return v;
}

void StoreViewPrefsValues(const ViewPrefsValues& v, SettingsRecord& rec, DocumentStrings& strings)
{
    rec.AutoConnect = v.autoConnect;
    rec.FrameSize = v.frameSize;
    rec.Statusbar = v.statusbar;
    rec.Toolbar = v.toolbar;
    rec.HostHangupClearScreen = v.hostHangupClear;
    rec.PCHangupClearScreen = v.pcHangupClear;
    StoreChoice(v.whenPCHungup, rec.WhenPCHungup);
    StoreChoice(v.whenHostHungup, rec.WhenHostHungup);
    rec.PromptForHost = v.promptForHost;
    StoreChoice(v.alignDisplay, rec.AlignDisplay);
    strings.AppName = v.appName;
    strings.AppNameShown = v.appName;
    rec.TitleConfig = v.titleConfig;
    rec.TitleAppName = v.titleAppName;
    rec.TitleHostName = v.titleHostName;
    rec.TitleConnected = v.titleConnected;
    rec.TitleUniqueText = v.titleUniqueText;
    rec.ShowMenu = v.showMenu;
    rec.ShowTitlebar = v.showTitlebar;
    rec.SingleInstance = v.singleInstance;
    rec.EnableHotspots = v.enableHotspots;
    strings.MsgExit = v.msgExit;
    rec.MaxInstance = v.maxInstance;
    rec.EnableButtonPanel = v.enableButtonPanel;
}
