// The switch of a command line: "/C" close, "/S" silent start, "/U"
// uninstall. The program path comes first on a Windows command line and may
// hold slashes itself ("C:/Users/anna/quillbee.exe"), so it is passed over.
#pragma once

// The arguments of `commandLine`: what follows the program path, which is
// either quoted (up to the closing quote) or runs up to the first blank.
const char* CommandLineArguments(const char* commandLine);

// The character after the first '/' of the arguments, upper-cased (ASCII
// letters only), or '\0' when the arguments hold no slash.
char CommandLineSwitch(const char* commandLine);
