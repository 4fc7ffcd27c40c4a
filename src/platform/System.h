#pragma once
// The shell's and the process's services that the programs call: the
// program folder, the command line, and opening a program, a document or a
// web page the way the shell does.

#include <string>
#include <vector>

// The folder of the running program's executable, without a trailing slash
// (empty for a program in the root folder, so that Folder + "/name" holds).
std::string ProgramFolder();

// The process's command line as it was given: ParamStr(0) is the program,
// ParamStr(1) .. ParamStr(ParamCount()) its parameters; out of range gives "".
std::string ParamStr(int Index);
int ParamCount();

// A parameter text split as the shell splits a command line: blanks and tabs
// separate, double quotes group (and are removed), a backslash escapes a
// quote; leading and trailing blanks give nothing.
std::vector<std::string> SplitParameters(const std::string &Parameters);

// Show commands of the shell; windows of the started program show normally
// whatever is passed.
enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1 };

// The shell's open (Operation "" or "open"; other verbs fail): a web address
// ("scheme://..." or "mailto:...") opens in the default browser; an
// executable file starts with Parameters (split as above) in Directory, or
// in the current folder when Directory is empty; any other existing file
// opens in the application the desktop associates with it. A relative File
// is taken in Directory. Nothing waits for what was started. Returns whether
// the start was handed over; a browser or program that fails later is not
// seen. Needs a running QGuiApplication for addresses and documents.
bool ShellExecute(const std::string &Operation, const std::string &File,
                  const std::string &Parameters, const std::string &Directory, int ShowCmd);
