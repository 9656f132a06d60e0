// printf-style formatting into a std::string, for the inspector's texts.
#pragma once

#include <string>

[[gnu::format(printf, 1, 2)]] std::string strf(const char* fmt, ...);
