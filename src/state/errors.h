#pragma once
#include <stdexcept>
#include <string>

namespace zentrova {

// Every failure that ends a command carries the exact text the user sees
// (before the error box appends its full stop).
class AppError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A floating-point fault: "Invalid floating point operation", ...
class FpError : public AppError {
 public:
  using AppError::AppError;
};

// A file step that failed: "File not found", "Read beyond end of file", ...
// `error` is the system's errno where one caused it, else 0.
class IoError : public AppError {
 public:
  explicit IoError(const std::string& message, int error = 0) : AppError(message), error(error) {}
  int error;
};

// Text that does not convert to a number.
class ConvertError : public AppError {
 public:
  using AppError::AppError;
};

inline constexpr const char* kMsgInvalid = "Invalid floating point operation";
inline constexpr const char* kMsgDivByZero = "Floating point division by zero";
inline constexpr const char* kMsgOverflow = "Floating point overflow";

}  // namespace zentrova
