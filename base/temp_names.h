// The names of the files that a run keeps beside a target for a while, all
// "TARGET.tralk-KIND-ID" so that a person sees whose they are and a later
// run finds what an interrupted one left:
//   new   the new content, renamed over the target when the set is complete
//   old   a second name of the old content, kept until the set is replaced
//   set   the list of the renames of a set being replaced (its journal; no
//         ID: a set has at most one, written under the set's lock)
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
std::string journal_path(const std::string& target);
// An ID no other temporary name of this run has, nor (with the process's
// number in it) one of another run at the same time.
std::string new_temp_id();

// The "new" and "old" temporaries of target that were in its folder when
// this run first looked at the folder: the folder is read once, however
// many sets the run writes into it. Runs that are writing now hold the locks
// of their targets, and left nothing for a target whose lock is held here
// afterwards but their own files, which are gone by then.
std::vector<std::string> leftover_temps(const std::string& target);
