// Make dependency files, which tralk and tralk-import write for build tools:
// one rule naming the files written as targets and the files read as
// prerequisites, escaped as make and ninja read names back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_set.h"
#include "base/outcome.h"

// path as Make reads it back: blanks and "#" escaped with backslashes (those
// already before a blank doubled), "$" doubled, ":" escaped except a drive's.
std::string make_escaped(std::string_view path);

// The character of path that make or ninja would read as something else
// than part of that very name in a dependency file; none when they both read
// it back exactly. Refused: control characters; characters that end a name,
// start a command, make a pattern, a glob or a variable ("&';<=>?^`|*%[]
// and the double quote); a name's last ")" (an archive member to make) or
// "\" (a line continuation). Blanks, "#", "$" and ":" are escaped instead.
std::optional<char> depfile_unreadable(std::string_view path);
// The character as a message shows it: "%" in quotes, or "0x0A" for one
// that has no picture.
std::string character_words(char c);

// The first of the paths that make or ninja cannot read back; null when
// there is none.
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
