#include "DocTemplate.h"
#include "Document.h"
#include "FrameWnd.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{}

BOOL CDocTemplate::GetDocString(std::string& rString, DocStringIndex index) const
{
    std::string all = AfxLoadString(m_nIDResource);
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t nl = all.find('\n', start);
        if (nl == std::string::npos) {
            rString.clear();
            return FALSE;
        }
        start = nl + 1;
    }
    size_t end = all.find('\n', start);
    rString = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return TRUE;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    auto* pDoc = static_cast<CDocument*>(AfxCreateObjectOfKind(m_pDocClass, RUNTIME_CLASS(CDocument)));
    if (pDoc)
        pDoc->m_pDocTemplate = this;
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc)
{
    auto* pFrame = static_cast<CFrameWnd*>(AfxCreateObjectOfKind(m_pFrameClass, RUNTIME_CLASS(CFrameWnd)));
    if (!pFrame)
        return nullptr;
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = pDoc;
    // A frame whose creation fails has deleted itself.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc)
        m_pOnlyDoc->m_pDocTemplate = nullptr;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char*, BOOL bMakeVisible)
{
    if (m_pOnlyDoc)
        return m_pOnlyDoc->OnNewDocument() ? m_pOnlyDoc : nullptr;
    CDocument* pDoc = CreateNewDocument();
    if (!pDoc)
        return nullptr;
    m_pOnlyDoc = pDoc;
    // The document must survive a view that is destroyed while the frame
    // is still being built.
    BOOL bAutoDelete = pDoc->m_bAutoDelete;
    pDoc->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDoc);
    pDoc->m_bAutoDelete = bAutoDelete;
    if (!pFrame) {
        delete pDoc;
        return nullptr;
    }
    std::string name;
    GetDocString(name, docName);
    pDoc->SetTitle(name.c_str());
    if (!pDoc->OnNewDocument()) {
        pFrame->DestroyWindow();   // takes the view and with it the document
        return nullptr;
    }
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
    return pDoc;
}
