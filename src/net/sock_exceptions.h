#pragma once
// Failures of the socket layer. The HTTP client passes them on unchanged, and
// its users treat any of them as a failed transfer; an abort (cancel or
// time-out) is one of them, so one handler catches both.
#include "toolkit/exceptions.h"

class ESockError : public Exception {
  public:
    using Exception::Exception;
};

class EAbortError : public ESockError {
  public:
    using ESockError::ESockError;
};
