#pragma once
// Resource identifiers shared by the resource script and the Win32 backend.
#define IDI_ENABLED 101
#define IDI_DISABLED 102
#define IDD_INPUTBOX 201
#define IDC_INPUT_PROMPT 202
#define IDC_INPUT_TEXT 203
