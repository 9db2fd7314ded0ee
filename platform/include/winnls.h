// Code pages: multi-byte to wide text (on Linux the ANSI code page is UTF-8), and languages: the
// user's and the thread's user-interface language, by which module resources are chosen.
#pragma once

#include "windef.h"
#include "winerror.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008

typedef const CHAR* LPCCH;

// A language: a primary language in bits 0-9 and a sublanguage (a country or script) above.
typedef WORD LANGID;
typedef DWORD LCID;
typedef DWORD LCTYPE;

#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define LANG_JAPANESE 0x11
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01
#define SUBLANG_ENGLISH_UK 0x02
#define SUBLANG_JAPANESE_JAPAN 0x01
#define SORT_DEFAULT 0x0

#define MAKELANGID(primary, sub) ((LANGID)((((WORD)(sub)) << 10) | (WORD)(primary)))
#define PRIMARYLANGID(language) ((WORD)(language)&0x3ff)
#define SUBLANGID(language) ((WORD)(language) >> 10)
#define LANGIDFROMLCID(locale) ((LANGID)(locale))
#define MAKELCID(language, sort) ((LCID)((((DWORD)((WORD)(sort))) << 16) | ((DWORD)((WORD)(language)))))

#define LOCALE_SISO639LANGNAME 0x59  // the language's ISO 639 code: "ja", "en"

extern "C" {

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH multiByteText, int multiByteCount, LPWSTR wideText,
                               int wideCount);

// On Linux the user's language is read from the environment: LANGUAGE's first language the
// program has, else the locale's (LC_ALL, LC_MESSAGES, LANG) when the program has it, else
// English. C and POSIX are Japanese, the program's own language.
LANGID WINAPI GetUserDefaultUILanguage(void);
// The thread's language is the user's until SetThreadUILanguage sets another (0: the user's again);
// FindResourceW chooses by it.
LANGID WINAPI GetThreadUILanguage(void);
LANGID WINAPI SetThreadUILanguage(LANGID language);
// Only LOCALE_SISO639LANGNAME.
int WINAPI GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataLength);
}
