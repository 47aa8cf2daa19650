#pragma once

#include "base/exception.h"

// The archive components' own error class: raised by RaiseError with the text
// of a message number. The RAR run catches it itself; it reaches a caller only
// from the ArchiveFile setter.
class E_RAISE : public Exception {
public:
    using Exception::Exception;
    ~E_RAISE() override;
};

// A read that failed with an input/output error (not merely short).
class EInOutError : public Exception {
public:
    explicit EInOutError(int errorCode);
    ~EInOutError() override;

    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};
