// The message of an output file that cannot be written: tralk's own line,
// then the system's reason on a line of its own.
#pragma once

#include <string>

void report_write_failure(const std::string& path, const std::string& reason);
