// The document: the single-document template needs one; it holds no data
// and stores nothing.
#pragma once
#include "framework/Framework.h"

class CVelmoraDoc : public CDocument {
    DECLARE_DYNCREATE(CVelmoraDoc)
public:
    CVelmoraDoc() = default;
    ~CVelmoraDoc() override = default;
    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    DECLARE_MESSAGE_MAP()
};
