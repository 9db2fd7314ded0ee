// kernel32: text helpers, profile (INI) functions, files and mappings, module resources, debug
// output, current directory, last-error value.
#pragma once

#include "windef.h"
#include "winerror.h"

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)

// Access rights, sharing and creation (CreateFileW).
#define GENERIC_READ 0x80000000U
#define GENERIC_WRITE 0x40000000U
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_NORMAL 0x00000080

// Page protection and view access (CreateFileMappingW, MapViewOfFile).
#define PAGE_READONLY 0x02
#define PAGE_READWRITE 0x04
#define FILE_MAP_COPY 0x0001
#define FILE_MAP_WRITE 0x0002
#define FILE_MAP_READ 0x0004

// Predefined resource types.
#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)

extern "C" {

// Last-error value of the calling thread.
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD errorCode);

// Text helpers.
int WINAPI lstrlenW(LPCWSTR text);
LPWSTR WINAPI lstrcpyW(LPWSTR destination, LPCWSTR source);
LPWSTR WINAPI lstrcatW(LPWSTR destination, LPCWSTR source);

// Current directory.
DWORD WINAPI GetCurrentDirectoryW(DWORD bufferLength, LPWSTR buffer);

// Profile (INI) files.
UINT WINAPI GetPrivateProfileIntW(LPCWSTR sectionName, LPCWSTR keyName, INT defaultValue, LPCWSTR fileName);
BOOL WINAPI WritePrivateProfileStringW(LPCWSTR sectionName, LPCWSTR keyName, LPCWSTR value, LPCWSTR fileName);

// Files and file mappings.
HANDLE WINAPI CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition, DWORD flagsAndAttributes,
                          HANDLE templateFile);
DWORD WINAPI GetFileSize(HANDLE file, LPDWORD fileSizeHigh);
HANDLE WINAPI CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect, DWORD maximumSizeHigh,
                                 DWORD maximumSizeLow, LPCWSTR name);
LPVOID WINAPI MapViewOfFile(HANDLE fileMapping, DWORD desiredAccess, DWORD fileOffsetHigh, DWORD fileOffsetLow,
                            SIZE_T numberOfBytesToMap);
BOOL WINAPI UnmapViewOfFile(LPCVOID baseAddress);
BOOL WINAPI CloseHandle(HANDLE object);

// Modules and their resources.
HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName);
HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HRSRC WINAPI FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
LPVOID WINAPI LockResource(HGLOBAL resourceData);
DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);

// Debug output (standard error on Linux, as UTF-8).
void WINAPI OutputDebugStringW(LPCWSTR text);
}
