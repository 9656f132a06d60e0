// What a program puts into a message when it shows it, taken out of the
// message: the display shows the values (the digits of a %d come from the
// code ranges the user gives), never the placeholder's own characters.
#pragma once

#include <string>
#include <string_view>

namespace tralk::text {

// Without printf's conversions (%d, %s, %1$s, %-5.2f, %lu, %<PRIu64>, and
// Python's %(name)s); "%%" becomes "%". A "%" that starts no conversion
// ("50% done": the blank flag is not taken) stays.
std::string without_printf_conversions(std::string_view message);

// Without Qt's arguments of QString::arg and tr(): %1 to %99, %L1, %n, %Ln.
std::string without_qt_arguments(std::string_view message);

// Without i18next's interpolations ({{count}}, {{- raw}}, {{x, number}})
// and nestings ($t(key), $t(key, {"count": 2})). An unclosed one stays.
std::string without_i18next_placeholders(std::string_view message);

}  // namespace tralk::text
