// Make dependency files, which tralk and tralk-import write for build tools:
// one rule naming the files written as targets and the files read as
// prerequisites, escaped as make and ninja read names back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/file_set.h"
#include "base/outcome.h"

// path as Make reads it back: blanks and "#" escaped with backslashes (those
// already before a blank doubled), "$" doubled, ":" escaped except a drive's.
std::string make_escaped(std::string_view path);

// The first of the paths that Make cannot read back (one holding a line end
// or another control character); null when there is none.
const std::string* make_unwritable(const std::vector<std::string>& targets,
                                   const std::vector<std::string>& prereqs);

// One rule: every target depends on every prerequisite, one prerequisite a
// line. Empty without targets.
std::string make_rule(const std::vector<std::string>& targets,
                      const std::vector<std::string>& prereqs);

// The dependency file at path, to be written with the files it names: the
// rule for the targets and prerequisites, each made a full path. A failure
// naming a path that cannot be resolved or written in the file.
Outcome<PendingFile> make_depfile(const std::string& path, const std::vector<std::string>& targets,
                                  const std::vector<std::string>& prereqs);
