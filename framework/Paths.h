#pragma once
// Paths of the running program, in full Unicode: the ANSI calls turn the
// characters of a folder name outside the code page into question marks.
#include <string>

// Full path of the running executable; empty when it cannot be had.
std::wstring ModulePath();
// The folder of the running executable, without a trailing backslash.
std::wstring ModuleFolder();
// The path of the file `name` in the program's folder when such a file is
// there; empty otherwise.
std::wstring FileBesideProgram(const wchar_t* name);
// The current working directory; empty when it cannot be had.
std::wstring CurrentDirectory();
// The short (8.3) form of an existing path, or the path as it is where its
// volume keeps no short names.
std::wstring ShortPath(const std::wstring& path);
