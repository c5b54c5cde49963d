// The executors of complete control sequences and device strings, shared by the VT and the
// ANSI-console interpreters. fromVt is 1 from the VT interpreter, 0 from the console; it selects
// the family-specific entries. Parameters are those of ParseCsiParams (at least one).
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

// CSI ... final (no marker).
void CsiDispatch(ViewWindow window, SettingsRecord& record, int finalByte, int count, const int* params,
                 DirtyRect& dirty, int fromVt);
// CSI = ... final.
void CsiEqualsDispatch(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params,
                       DirtyRect& dirty, int fromVt);
// CSI ? ... final.
void DecPrivateDispatch(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params,
                        DirtyRect& dirty, int fromVt);
// CSI p " q.
void SetCharacterProtection(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params,
                            DirtyRect& dirty, int fromVt);
// A finished DCS string: its final byte, the introducer's parameters and the text up to the ESC
// of its terminator.
void DcsDispatch(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params,
                 DirtyRect& dirty, int flag, const char* text);

// Select graphic rendition, every parameter in order.
void SelectGraphicRendition(SettingsRecord& rec, int count, const int* params, int fromVt);
// Media copy (CSI p i).
void MediaCopy(ViewWindow window, SettingsRecord& rec, int count, const int* params, DirtyRect& dirty);
// DECUDK: a user-defined-key string.
void LoadUserDefinedKeys(SettingsRecord& rec, int count, const int* params, const char* text);

// Replies.
void SendDeviceAttributes(ViewWindow window, SettingsRecord& rec);
// DSR: 5 status, 6 cursor position.
void SendStatusReport(ViewWindow window, SettingsRecord& rec, int request);
// CSI ? n: 15 printer, 25 user-defined keys, 26 keyboard language.
void SendPrivateStatusReport(ViewWindow window, SettingsRecord& rec, int request);

// The single-count rule: the first parameter, 1 when it is 0 or there are several.
inline int SingleCount(int count, const int* params) { return (count != 1 || params[0] == 0) ? 1 : params[0]; }
