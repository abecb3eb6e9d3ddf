#pragma once
// Putting a page metafile onto the printer page of the application-wide printer, which must be printing.
// The page is mapped onto the printable width, keeping its aspect ratio; what falls below the printable
// height is lost. These routines never start, end or abort a job and never free the metafile.
//
// Failures: the first record (or text output) that fails ends the page with EGDIError, " GDI" followed by
// ": " and the last error's text; later records are not drawn. A page with no printer job raises
// EPrinter "Printer is not currently printing".
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Player.h"
#include "platform/metafile/Metafile.h"

// (0, 0) - (w, h): w the printable width in device pixels, h = MulDiv(Height, w, Width). A page without
// width has no height.
TEmfRect MetafilePageRect(int32_t printableWidth, const TMetafile& metafile);

// Walks the records, redrawing text records with plain text output (the viewer's way of printing).
void PrintMetafilePage(const TMetafile& metafile);
// Lets the platform play the whole metafile; the result is not examined.
void PlayMetafilePage(const TMetafile& metafile);
// Enumerates the metafile onto dc, mapped onto rect, through MetafileRecordProc.
void PlayMetafileRecords(TGdiDC& dc, const TMetafile& metafile, const TEmfRect& rect);
// Text records (EMR_EXTTEXTOUTA, EMR_EXTTEXTOUTW) become TextOut at their reference point with the
// printer font's own spacing; every other record is played. Returns 1 or raises EGDIError.
int MetafileRecordProc(TGdiDC& dc, THandleTable& table, const TEmfRecord& record, int handleCount,
                       void* data);
