#pragma once
// Resource identifiers, shared by the resource script and the code.

#define IDI_APPLICATION_ICON 103
#define IDI_BUTTON_UP 153
#define IDI_BUTTON_DOWN 154
#define IDM_TRAY_JA 130
#define IDM_TRAY_EN 131
#define IDP_TRAY_OLD 141
#define IDP_TRAY_NEW 142
#define IDD_ALREADY_RUNNING_JA 143
#define IDD_ALREADY_RUNNING_EN 144
#define IDD_OPENING_NOTICE 145

// Controls of the dialogs.
#define IDC_WARNING_ICON 1000
#define IDC_PICTURE_OLD 1001
#define IDC_PICTURE_NEW 1002
#define IDC_NO_OPENING_DIALOG 1003
#define IDC_MESSAGE 1004

// Buttons of the already-running dialog (6 and 2 are the platform's Yes and Cancel).
#define IDB_FORCE_EXIT 6
#define IDB_OPEN_SETTINGS 32771

// The custom resource type of the two pictures.
#define PICTURE_RESOURCE_TYPE "RT_RCDATA"
