// Frame buffer: loading from bitmap and PCX files.
#include "surface/DibG.h"

// The file loaders and reloads are not part of this build yet. They refuse
// loudly rather than leave the buffer untouched as if they had worked.
void CDibG::LoadBmpFile(const char*, CPalId*) { ThrowResourceError(); }
void CDibG::LoadPcxFile(const char*, CPalId*) { ThrowResourceError(); }
void CDibG::ReloadBmpFile(const char*, CPalId*) { ThrowResourceError(); }
void CDibG::ReloadPcxFile(const char*, CPalId*) { ThrowResourceError(); }
