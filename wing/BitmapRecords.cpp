// A small table of (bitmap, pixel address, row order), guarded by a
// critical section. Records of deleted bitmaps are dropped when the table is
// full, before it grows, so its size follows the number of live bitmaps.
#include "wing/BitmapRecords.h"

namespace wing {
namespace {

struct BitmapRecord {
    HBITMAP hbm;
    void* pBits;
    bool bTopDown;
};

CRITICAL_SECTION g_lock;
BitmapRecord* g_pRecords = nullptr;
DWORD g_nRecords = 0;
DWORD g_nCapacity = 0;

class CLock {
public:
    CLock() { EnterCriticalSection(&g_lock); }
    ~CLock() { LeaveCriticalSection(&g_lock); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;
};

// The pixel address of a live bitmap section, null for anything else.
void* SectionBits(HBITMAP hbm)
{
    DIBSECTION ds;
    if (GetObjectW(hbm, sizeof ds, &ds) != int(sizeof ds))
        return nullptr;
    return ds.dsBm.bmBits;
}

bool IsLive(const BitmapRecord& r) { return SectionBits(r.hbm) == r.pBits; }

void DropDeadRecords()
{
    DWORD kept = 0;
    for (DWORD i = 0; i < g_nRecords; ++i) {
        if (IsLive(g_pRecords[i]))
            g_pRecords[kept++] = g_pRecords[i];
    }
    g_nRecords = kept;
}

bool Grow()
{
    const DWORD capacity = g_nCapacity ? g_nCapacity * 2 : 16;
    const SIZE_T bytes = SIZE_T(capacity) * sizeof(BitmapRecord);
    void* p = g_pRecords ? HeapReAlloc(GetProcessHeap(), 0, g_pRecords, bytes) : HeapAlloc(GetProcessHeap(), 0, bytes);
    if (!p)
        return false;
    g_pRecords = static_cast<BitmapRecord*>(p);
    g_nCapacity = capacity;
    return true;
}

}   // namespace

void InitBitmapRecords() { InitializeCriticalSection(&g_lock); }

void FreeBitmapRecords()
{
    if (g_pRecords)
        HeapFree(GetProcessHeap(), 0, g_pRecords);
    g_pRecords = nullptr;
    g_nRecords = g_nCapacity = 0;
    DeleteCriticalSection(&g_lock);
}

bool RecordBitmap(HBITMAP hbm, void* pBits, bool bTopDown)
{
    CLock lock;
    // A handle that comes back from GDI again belongs to the new bitmap.
    for (DWORD i = 0; i < g_nRecords; ++i) {
        if (g_pRecords[i].hbm == hbm) {
            g_pRecords[i] = {hbm, pBits, bTopDown};
            return true;
        }
    }
    if (g_nRecords == g_nCapacity)
        DropDeadRecords();
    if (g_nRecords == g_nCapacity && !Grow())
        return false;
    g_pRecords[g_nRecords++] = {hbm, pBits, bTopDown};
    return true;
}

RowOrder RecordedRowOrder(HBITMAP hbm, void* pBits)
{
    CLock lock;
    for (DWORD i = 0; i < g_nRecords; ++i) {
        const BitmapRecord& r = g_pRecords[i];
        if (r.hbm == hbm)
            return r.pBits == pBits ? (r.bTopDown ? RowOrder::TopDown : RowOrder::BottomUp) : RowOrder::Unknown;
    }
    return RowOrder::Unknown;
}

}   // namespace wing
