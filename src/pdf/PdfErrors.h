#pragma once
// The PDF engine's two exception classes. Their messages name the operation or value that was refused
// ("AddObject", "SetFontSize", "DrawXObject: unknown ZVImg3"...).
#include "platform/rtl/Exception.h"

// A value outside what the operation accepts.
class EPdfInvalidValue : public Exception {
  using Exception::Exception;
};

// An operation called in a state that does not allow it.
class EPdfInvalidOperation : public Exception {
  using Exception::Exception;
};
