// Ids of the keyboard dialogs: Keyboard Mapping (with its picture of the keyboard), Terminal
// KeyName Definitions and Translate Tables. The key buttons of the picture carry the ids of the
// keyboard picture's table (dialogs/key_table_editing.h); the template names them by number.
#pragma once

#define IDD_KEYBOARD_MAP 102
#define IDD_KEY_DEFINITIONS 115
#define IDD_TRANSLATE_TABLES 116

// Keyboard Mapping.
#define IDC_KMAP_KEY_NAME 1038
#define IDC_KMAP_KEY_CODE 3059
#define IDC_KMAP_VALUE_FIRST 3047  // "Normal:"; 3047 + (modifier bits >> 9) up to "Alt Shift Ctrl:" 3054
#define IDC_KMAP_VALUE_LAST 3054
#define IDC_KMAP_ACCEPT 3044
#define IDC_KMAP_DELETE 3055
#define IDC_KMAP_USE_PREDEFINED 1083
#define IDC_KMAP_PREDEFINED_LIST 3074
#define IDC_KMAP_PREDEFINED_PREVIEW 3060
#define IDC_KMAP_NUMLOCK 3083
#define IDC_KMAP_NUMLOCK_SHIFT 3298
#define IDC_KMAP_TERMINAL_KEYS 3071
#define IDC_KMAP_TRANSLATE 3072
#define IDC_KMAP_DEFAULT_MAP 3097
#define IDC_KMAP_DEFAULT_BUTTONS 3178

// Terminal KeyName Definitions.
#define IDC_KDEF_NAME 1049
#define IDC_KDEF_STRING 3060
#define IDC_KDEF_ACCEPT 3045
#define IDC_KDEF_DELETE 3056
#define IDC_KDEF_DEFAULT 3097

// Translate Tables.
#define IDC_XLT_OUTBOUND 3084
#define IDC_XLT_INBOUND 3085
#define IDC_XLT_NEW_OUTBOUND 3090
#define IDC_XLT_NEW_INBOUND 3091
#define IDC_XLT_ACCEPT 1083
#define IDC_XLT_HEX 3087
#define IDC_XLT_CHARACTER 3086
#define IDC_XLT_MIRROR 3095
#define IDC_XLT_INDIVIDUAL 3096
#define IDC_XLT_OUTBOUND_FRAME 3089
#define IDC_XLT_INBOUND_FRAME 3088
#define IDC_XLT_DEFAULT 3097
