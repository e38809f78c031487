#ifndef UI_RESOURCE_H
#define UI_RESOURCE_H

// Identifiers of the launcher's resources, shared by the resource script and the code.

// Dialog templates of the two pages.
#define IDD_OPTIONS 129
#define IDD_DISPLAY 130

// Controls of the Options page (IDD_OPTIONS).
#define IDC_CHECK_DISABLE_SOUND 1001
#define IDC_CHECK_DISABLE_JOYSTICKS 1002
#define IDC_CHECK_DISABLE_MUSIC 1003
#define IDC_CHECK_DISABLE_MOVIES 1006
#define IDC_CHECK_DISABLE_SOUND_FILTERS 1007
#define IDC_CHECK_DISABLE_HARDWARE_SOUND 1008
#define IDC_CHECK_RESTORE_DEFAULTS 1009
#define IDC_EDIT_COMMAND_LINE 1010
#define IDC_STATIC_COMMAND_LINE_FLAGS 1011
#define IDC_STATIC_ADVANCED_COMMAND_LINE 1012

// Controls of the Display page (IDD_DISPLAY). The numbers overlap with those of the Options
// page; each page is a dialog of its own.
#define IDC_LIST_RESOLUTIONS 1002
#define IDC_LIST_DISPLAYS 1003
#define IDC_LIST_RENDERERS 1004
#define IDC_STATIC_RESOLUTIONS 1005
#define IDC_STATIC_RENDERERS 1006
#define IDC_STATIC_DISPLAYS 1007
#define IDC_STATIC_WARNING 1014
// Hidden labels, one right before each list with its group box's caption: a screen reader
// names a list after the static text that precedes it.
#define IDC_LABEL_RESOLUTIONS 1015
#define IDC_LABEL_RENDERERS 1016
#define IDC_LABEL_DISPLAYS 1017

// The sheet's line of controller button hints, beside its button row.
#define IDC_STATIC_GAMEPAD_HINTS 1100

#endif
