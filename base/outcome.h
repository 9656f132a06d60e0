// The outcome of an operation that can fail, where it crosses from one part
// of the program to another: the value made, or a failure. A failure carries
// a code, which callers decide on, and a text, which tells a person what went
// wrong. The readers of the inputs leave the text to their callers: they say
// where in the input the failure lies (FailurePlace), and each program words
// it as its messages go. Nothing decides what a failure means by reading its
// text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

enum class Fault : uint8_t {
  usage,        // a command line asks for something impossible
  not_found,    // a file that is named does not exist
  io,           // a file cannot be opened, read, written or replaced
  cut_short,    // a file ends before its content does
  format,       // a file's content is damaged, or not what its kind allows
  unsupported,  // sound, but something this program does not take
  too_large,    // beyond the program's limits or the memory at hand
};

// Where in its input a reader failed: what its caller needs to word it.
struct FailurePlace {
  uint32_t item = 0;  // the item being read: a .sym file's symbol, counted from 0
  uint32_t line = 0;  // the line of a text input, counted from 1; 0 where none is known
  uint8_t field = 0;  // the part of the input, in the reader's own terms (BmpField)
};

struct Failure {
  Fault code = Fault::format;
  std::string text;  // empty from a reader of the inputs
  FailurePlace at{};
};

template <class T = void>
class [[nodiscard]] Outcome {
 public:
  Outcome(T value) : value_(std::move(value)) {}              // NOLINT: a value is a success
  Outcome(Failure failure) : failure_(std::move(failure)) {}  // NOLINT: so is a failure

  bool ok() const { return value_.has_value(); }
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  Fault code() const { return failure_.code; }
  // What went wrong; empty when it has been reported already.
  const std::string& error() const { return failure_.text; }
  const Failure& failure() const { return failure_; }

 private:
  std::optional<T> value_;
  Failure failure_;
};

// An operation that makes nothing: success, or a failure.
template <>
class [[nodiscard]] Outcome<void> {
 public:
  Outcome() = default;
  Outcome(Failure failure) : ok_(false), failure_(std::move(failure)) {}  // NOLINT

  bool ok() const { return ok_; }
  Fault code() const { return failure_.code; }
  const std::string& error() const { return failure_.text; }
  const Failure& failure() const { return failure_; }

 private:
  bool ok_ = true;
  Failure failure_;
};
using Status = Outcome<void>;
