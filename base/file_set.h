// Output files that are replaced together: each is written whole to a
// temporary file beside its target, and the targets are replaced only once
// every temporary is complete, so that a .sym file never appears without
// the codepage it names.
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"

struct PendingFile {
  std::string path;
  std::string content;
};

// Writes every file and renames them over their targets (through a symbolic
// link, onto the file it names, keeping the replaced file's permissions).
// A failure, with a one-line reason, when any cannot be written: no target is
// touched and no temporary is left.
Status write_file_set(const std::vector<PendingFile>& files);
