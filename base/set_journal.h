// Replacing a set of files as one: every target gets its new content, or
// every target keeps its old one. Before the first rename the list of
// renames is put on the disk beside the set's first target (its journal),
// so that a run that finds it, after the run that wrote it was killed or the
// power failed between two renames, can finish the set.
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"

struct Replacement {
  std::string temp;    // the complete new content
  std::string target;  // the file it replaces
  std::string backup;  // a second name of the target's old content; empty when it had none
};

// Writes the journal at path, on the disk before it returns.
Status write_journal(const std::string& path, const std::vector<Replacement>& set);
// The renames of the journal at path; empty when it cannot be read whole.
std::vector<Replacement> read_journal(const std::string& path);

// Renames each temporary over its target, in order; when resuming the set of
// a journal, a replacement whose temporary is gone counts as done (the run
// that wrote the journal renamed it). If one fails, every target of the set
// gets its old content back, or goes where it had none. Returns the index of
// the failed replacement, or set.size(); errno tells why it failed.
size_t replace_set(const std::vector<Replacement>& set, bool resuming = false);

// Finishes the set of the journal at path (see replace_set), then removes
// the second names and the journal.
void finish_journal(const std::string& path);
