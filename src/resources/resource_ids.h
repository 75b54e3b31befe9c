#pragma once
// Resource identifiers shared by the resource script and the Win32 backend.
#define IDI_ENABLED 101
#define IDI_DISABLED 102
