#pragma once

// <windows.h> for the Win32 backend and its tests. The system's A/W macros would rename the
// platform layer's own methods of the same names (FileSystem::DeleteFile and others).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CopyFile
#undef DeleteFile
#undef MoveFile
