// Output files that are replaced together: each is written whole to a
// temporary file beside its target, and the targets are replaced only once
// every temporary is complete, so that a .sym file never appears without
// the codepage it names.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/outcome.h"
#include "base/outfile.h"
#include "base/page_alloc.h"

// A file's bytes as text; a large one in huge pages where the host has
// them, as a font of many megabytes of text is.
using FileText = std::basic_string<char, std::char_traits<char>, PageAllocator<char>>;

struct PendingFile {
  PendingFile(std::string p, FileText text) : path(std::move(p)), content(std::move(text)) {}
  PendingFile(std::string p, std::string_view text) : path(std::move(p)), content(text) {}

  std::string path;
  FileText content;
};

// Writes every file and renames them over their targets (through a symbolic
// link, onto the file it names, keeping the replaced file's permissions).
// A failure, with a one-line reason, when any cannot be written: no target is
// touched and no temporary is left.
Status write_file_set(const std::vector<PendingFile>& files);

// For a file of a set written piece by piece: opens out for path, under lock
// (held for the whole set). A failure ("cannot write ...: reason") when path
// is a folder or its temporary cannot be made.
Status open_output(const SetLock& lock, OutFile& out, const std::string& path);

// Finishes every file of set, whose targets paths name, and replaces the
// targets together; a failure with the reason when any cannot be written or
// replaced, leaving every target as it was.
Status commit_outputs(std::span<OutFile* const> set, const std::vector<std::string>& paths);
