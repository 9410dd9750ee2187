// SPDX-License-Identifier: MIT
// What the command line does differently on each system: the program's arguments, interrupts,
// the terminal and the standard streams. One implementation file per system (platform_posix.cpp,
// platform_win32.cpp); the files themselves go through engine/file_system.h.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Readies the standard streams: on Windows, standard input and output carry bytes as they are
// (no CR added before LF) and a console shows UTF-8 text.
void PrepareStandardStreams();

// The program's arguments as UTF-8 (on Windows taken from the wide command line, so that names
// outside the ANSI code page arrive whole).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Calls onInterrupt (which must only set a flag) on Ctrl-C, SIGTERM and SIGHUP, or on Windows'
// console events Ctrl-C, Ctrl-Break and the closing of the console, for the lifetime of the
// process. A signal ignored when the program started (nohup) stays ignored.
void CatchInterrupts(void (*onInterrupt)());

// Whether the stream is a terminal (a console on Windows).
bool IsTerminal(FILE* stream);

// The descriptor of a standard stream, for the file calls of engine/file_system.h.
int DescriptorOf(FILE* stream);
