#pragma once

#include <filesystem>
#include <string>

namespace vendigo {

// True while a process with this id exists, whoever it belongs to.
bool IsProcessRunning(int pid);

// How the name of a folder that a process of program makes for itself begins:
// "<program>-<pid>-". Folders named so can be told apart once their process has ended.
std::string ProcessFolderPrefix(const std::string &program, int pid);

// Removes, with everything in them, this user's folders in parent that processes of program
// made for themselves (ProcessFolderPrefix) and left behind when they ended.
void RemoveFoldersOfEndedProcesses(const std::filesystem::path &parent, const std::string &program);

}  // namespace vendigo
