#pragma once

#include <string>
#include <vector>

// What the viewer was asked on its command line: kesto [OPTIONS] [FILE].
struct TViewerCommand {
  bool Help = false, Version = false, Watch = false;
  std::string File;   // loaded at start; empty: the sample surface
  std::string Error;  // what cannot be understood, if anything
};

TViewerCommand ParseViewerCommand(const std::vector<std::string>& args);

extern const char* const kViewerUsage;

// Why the viewer cannot show its windows here (no display to reach), or nothing.
std::string MissingDisplay();
