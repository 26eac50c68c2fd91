// Remembers which bitmaps this library made with top-down rows.
// GDI reports a bitmap section's height as positive whatever its row order,
// so WinGGetDIBPointer looks the orientation up here to fill the header.
#pragma once

#include <windows.h>

namespace wing {

enum class RowOrder { Unknown, BottomUp, TopDown };

void InitBitmapRecords();
void FreeBitmapRecords();

// Records a new bitmap section with its pixel address; false when there is
// no memory for the record.
bool RecordBitmap(HBITMAP hbm, void* pBits, bool bTopDown);

// The recorded row order of a bitmap whose pixels are still at pBits.
// Unknown for bitmaps that this library did not make, and for a record
// whose handle now names another bitmap.
RowOrder RecordedRowOrder(HBITMAP hbm, void* pBits);

}   // namespace wing
