// The terminal view's own commands: their ids and when each is enabled and checked. The rules
// hold for the menu and the tool bar as well as for a command an action string posts to the view.
#pragma once

struct SettingsRecord;

enum ViewCommandId : int {
    kViewFontCurrent = 32771,       // Config/Font: a font for the current number of columns
    kViewScaleViewToFont = 32768,
    kViewDosBox = 32778,
    kViewTraceVirtualKeys = 32782,
    kViewResetEmulator = 32787,
    kViewSetTitle = 32792,
    kViewShowImage = 32802,
    kViewTraceHotspots = 32806,
    kViewClearHotspots = 32807,
    kViewTraceTelnet = 32808,
    kViewCopyTable = 32810,
    kViewFunctionButtons = 32812,
    kViewFont132 = 32825,
    kViewFont80 = 32826,
    kViewHistoryScrollback = 32837,
    kViewScaleFontToView = 32839,
    kViewTraceNetFile = 32842,
    kViewSelectAll = 32847,
    kViewClearSelection = 32848,
    kViewCopy = 57634,
    kViewPaste = 57637,
    kViewTraceKeyboard = 110,
};

// The view's state the rules read beside the record.
struct ViewCommandInputs {
    bool selection = false;     // a selection that is not empty
    bool pastePending = false;
    bool hotspotsTrace = false;
    bool showImage = false;
    bool telnetTrace = false;
    bool netTraceToFile = false;
};

struct ViewCommandUI {
    bool enabled = true;
    int checked = -1;  // -1 no check mark, else 0 or 1
};

// The rule of a view command; false when `id` is none of the view's commands.
bool ViewCommandUpdate(int id, const SettingsRecord& rec, const ViewCommandInputs& inputs, ViewCommandUI& ui);
