#pragma once
#include <string>
#include <vector>

// Desktop services of the X11 layer, without a shell and without threads.

// Starts argv[0] (looked up in PATH) in a session of its own and does not
// wait for it; true when the program started. No zombie is left behind.
bool X11SpawnDetached(const std::vector<std::string>& argv);
// Runs argv[0] to its end and gives what it wrote to stdout (modal helpers);
// false when it could not start or exited with a failure.
bool X11RunForOutput(const std::vector<std::string>& argv, std::string* out, int* exitCode);
// The first of these programs found in PATH, or empty.
std::string X11FindProgram(const char* name);

// The module this code is linked into (the plug-in's own binary).
std::string X11ModulePath();
// The folder that holds the bundle containing path, with a trailing '/'.
std::string X11BundleParent(const std::string& modulePath);
// XDG folders of the current user.
std::string X11HomeFolder();
std::string X11DesktopFolder();
std::string X11DataFolder();
