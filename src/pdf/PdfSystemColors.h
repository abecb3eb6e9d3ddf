#pragma once
// System colours for TPdfColor values below zero. The host has no desktop colour scheme the PDF engine
// could ask, so the classic default scheme of the metafiles' home platform stands in for it; an index
// outside the scheme is black.
#include <cstdint>

// The COLORREF (0x00BBGGRR) of system colour Index.
uint32_t SystemColorRGB(int Index);
