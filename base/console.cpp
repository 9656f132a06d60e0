#include "base/console.h"

#include <cstdarg>
#include <cstdio>

#include "base/text.h"

namespace {
bool capturing = false;
std::string captured;
bool quiet = false;
std::string held;  // quiet mode's progress text since the last new context
bool quiet_printed = false;
bool one_line = false;
unsigned warnings = 0;

void emit(const std::string& text) {
  if (capturing) {
    captured += text;
  } else {
    std::fputs(text.c_str(), stdout);
  }
}

void vprint(const char* fmt, va_list args) {
  if (!capturing && !quiet) {
    std::vfprintf(stdout, fmt, args);
    return;
  }
  vappendf(quiet ? held : captured, fmt, args);
}
}  // namespace

void con_printf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vprint(fmt, args);
  va_end(args);
}

void con_warn(const char* fmt, ...) {
  ++warnings;
  if (one_line) return;
  va_list args;
  va_start(args, fmt);
  if (quiet) {
    std::string text;
    text.swap(held);
    vappendf(text, fmt, args);
    emit(text);
    quiet_printed = true;
  } else {
    vprint(fmt, args);
  }
  va_end(args);
}

unsigned con_warnings() {
  return warnings;
}

void con_set_quiet(bool on) {
  quiet = on;
  held.clear();
}

void con_new_context() {
  held.clear();
}

void con_reveal() {
  if (one_line) held.clear();
  if (!quiet || one_line) return;
  quiet = false;
  std::string text;
  text.swap(held);
  emit(text);
}

bool con_quiet_printed() {
  return quiet_printed;
}

void con_set_one_line(bool on) {
  one_line = on;
}

bool con_one_line() {
  return one_line;
}

std::string con_take_held() {
  std::string text;
  text.swap(held);
  return text;
}

namespace {
void place_line(const std::string& file, unsigned line, const char* kind, const std::string& text) {
  if (!one_line) return;
  std::string out = file;
  if (line != 0) out += ":" + std::to_string(line);
  emit(out + ": " + kind + ": " + text + "\n");
}
}  // namespace

void con_error_line(const std::string& file, unsigned line, const std::string& text) {
  place_line(file, line, "error", text);
}

void con_warning_line(const std::string& file, unsigned line, const std::string& text) {
  place_line(file, line, "warning", text);
}

void con_capture_begin() {
  capturing = true;
  captured.clear();
}

std::string con_capture_end() {
  capturing = false;
  std::string out;
  out.swap(captured);
  return out;
}
