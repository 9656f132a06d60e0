// The outcome of an operation that can fail, where it crosses from one part
// of the program to another: the value made, or the text of what went wrong.
// An empty text means that the failure has been reported where it happened.
#pragma once

#include <optional>
#include <string>
#include <utility>

template <class T>
class Outcome {
 public:
  Outcome(T value) : value_(std::move(value)) {}  // NOLINT: a value is a success
  static Outcome failure(std::string text = {}) {
    Outcome o;
    o.error_ = std::move(text);
    return o;
  }

  bool ok() const { return value_.has_value(); }
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  // What went wrong; empty when it has been reported already.
  const std::string& error() const { return error_; }

 private:
  Outcome() = default;
  std::optional<T> value_;
  std::string error_;
};
