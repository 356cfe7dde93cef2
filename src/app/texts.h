#pragma once

// The program's own texts. They are code page 936 bytes, written as escapes so that no editor or
// compiler setting can change them; the comment beside each gives the text. They reach Windows
// through TextToWide and the W functions, so they read right whatever the system's code page.

#include <cstddef>

#include "com/text.h"

namespace texts {

inline constexpr char kCaptionPrefix[] =  // 翠鸮交流群-
    "\xb4\xe4\xfb\x5e\xbd\xbb\xc1\xf7\xc8\xba-";
inline constexpr char kTrayTipPrefix[] =  // 右键弹出菜单，翠鸮交流群客户端(
    "\xd3\xd2\xbc\xfc\xb5\xaf\xb3\xf6\xb2\xcb\xb5\xa5\xa3\xac"
    "\xb4\xe4\xfb\x5e\xbd\xbb\xc1\xf7\xc8\xba\xbf\xcd\xbb\xa7\xb6\xcb(";
inline constexpr char kExitItem[] = "\xcd\xcb\xb3\xf6";                  // 退出
inline constexpr char kFatalTitle[] =  // 翠鸮交流群客户端
    "\xb4\xe4\xfb\x5e\xbd\xbb\xc1\xf7\xc8\xba\xbf\xcd\xbb\xa7\xb6\xcb";
inline constexpr char kOutOfMemory[] =  // 内存不足，程序无法继续运行。
    "\xc4\xda\xb4\xe6\xb2\xbb\xd7\xe3\xa3\xac"
    "\xb3\xcc\xd0\xf2\xce\xde\xb7\xa8\xbc\xcc\xd0\xf8\xd4\xcb\xd0\xd0\xa1\xa3";
inline constexpr char kUnbindableFunction[] =  // 无法调用外部函数，程序无法继续运行。
    "\xce\xde\xb7\xa8\xb5\xf7\xd3\xc3\xcd\xe2\xb2\xbf\xba\xaf\xca\xfd\xa3\xac"
    "\xb3\xcc\xd0\xf2\xce\xde\xb7\xa8\xbc\xcc\xd0\xf8\xd4\xcb\xd0\xd0\xa1\xa3";
inline constexpr char kLibraryLabel[] = "\xbf\xe2\xa3\xba";         // 库：
inline constexpr char kFunctionLabel[] = "\xba\xaf\xca\xfd\xa3\xba";  // 函数：

}  // namespace texts

// The caption the window is created with: "翠鸮交流群-" and the site's host name.
AnsiText InitialCaption();

// The tray icon's tip: "右键弹出菜单，翠鸮交流群客户端(", the site's host name and ")".
AnsiText TrayTip();

// The longest start of a code page 936 text that fits in maxBytes without splitting a
// double-byte character.
AnsiText CutAtCharBoundary(const AnsiText& text, std::size_t maxBytes);
