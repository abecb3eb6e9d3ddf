#pragma once
// The bitmaps of the sample reports, drawn from formulas so that every run gives the same pixels.
#include "platform/emfwriter/EmfDib.h"

// A 24-bit company logo: a blue-green gradient disc with a white ring, on white.
TEmfDib MakeLogo(int32_t size);
// A 1-bit square code pattern, as a payment code printed on an invoice.
TEmfDib MakePaymentCode(int32_t modules);
