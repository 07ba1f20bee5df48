#pragma once
// The toolkit's exception classes. Messages are UTF-8 and are shown to the
// user as they stand by the application's standard error report.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that should have been a number, a date or a time.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// A file that could not be made, opened or written; the text names it.
class EFileError : public Exception {
  public:
    using Exception::Exception;
};

// A write to the settings file that the platform refused.
class EIniFileException : public Exception {
  public:
    using Exception::Exception;
};

// A window or one of its parts could not be made; the text names which.
class ECreationError : public Exception {
  public:
    using Exception::Exception;
};

// "Das Fenster <name> konnte nicht erstellt werden." and the reason on a line of its own.
std::string WindowCreationFailure(const std::string& window, const std::string& reason);
// The text of the exception being handled; "Unbekannter Fehler" for one that carries none.
std::string CurrentExceptionText();
