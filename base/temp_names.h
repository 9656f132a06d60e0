// The names of the files that a run keeps beside a target for a while, all
// "TARGET.tralk-KIND-ID" so that a person sees whose they are and a later
// run finds what an interrupted one left:
//   new   the new content, renamed over the target when the set is complete
//   old   a second name of the old content, kept until the set is replaced
//   set   the list of the renames of a set being replaced (its journal)
//   lock  the lock that runs writing the same set take in turn (no ID)
// Where TARGET would make a name longer than file systems take, the names
// start with its head and a hash of it instead.
#pragma once

#include <string>
#include <vector>

// The folder part of path, separator included ("" for a bare name).
std::string path_folder(const std::string& path);

// Names of the kinds above for the target path (a full path), in its folder.
std::string temp_path(const std::string& target, const char* kind, const std::string& id);
std::string lock_path(const std::string& target);
// An ID no other temporary name of this run has, nor (with the process's
// number in it) one of another run at the same time.
std::string new_temp_id();

// The "new" and "old" temporaries of target that are in its folder.
std::vector<std::string> leftover_temps(const std::string& target);
// The journals of sets whose first target is target.
std::vector<std::string> leftover_journals(const std::string& target);
