#pragma once
// Page after page is read, drawn and freed; the C library would hand the freed memory back to the system
// after every page and fault it in again for the next, which costs more than the drawing on a virtual
// machine. KeepFreedMemoryForReuse() asks it to keep up to a few tens of megabytes for reuse (large
// blocks such as page images still go back at once). Called first thing by the programs' main().
void KeepFreedMemoryForReuse();
