#include "app/VelmoraDoc.h"

IMPLEMENT_DYNCREATE(CVelmoraDoc, CDocument)

BEGIN_MESSAGE_MAP(CVelmoraDoc, CDocument)
END_MESSAGE_MAP()

BOOL CVelmoraDoc::OnNewDocument() { return CDocument::OnNewDocument() ? 1 : 0; }

void CVelmoraDoc::Serialize(CArchive&) {}
