#include "archive/e_raise.h"

#include <string>

E_RAISE::~E_RAISE() = default;

EInOutError::EInOutError(int errorCode)
    : Exception("I/O error " + std::to_string(errorCode)), errorCode_(errorCode)
{
}

EInOutError::~EInOutError() = default;
