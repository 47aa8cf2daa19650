#include "base/exception.h"

// Out of line so the class has one home for its type information.
Exception::~Exception() = default;
