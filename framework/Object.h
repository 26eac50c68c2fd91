// Objects with run-time class information: the root of the framework's
// class tree. Every framework object derives from CObject, whose first five
// virtual operations are, in order: the run-time class query, the
// destructor, serialisation, the validity check and the diagnostic dump.
#pragma once
#include <windows.h>

class CObject;
class CArchive;
class CDumpContext;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                    // 0xFFFF: no serialisation schema
    CObject* (*m_pfnCreateObject)();   // null unless dynamically creatable
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBase) const;
};

class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// Archive and dump context exist only so that the virtual signatures above
// have their familiar shape; the program serialises and dumps nothing.
class CArchive {};
class CDumpContext {};

// A new object of class pClass when pClass is dynamically creatable and
// derives from pKind; otherwise null (nothing stays allocated).
CObject* AfxCreateObjectOfKind(const CRuntimeClass* pClass, const CRuntimeClass* pKind);

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define VELMORA_IMPLEMENT_RUNTIMECLASS(class_name, base_name, schema, pfn)                                  \
    const CRuntimeClass class_name::class##class_name = {#class_name, int(sizeof(class_name)), schema, pfn, \
                                                         RUNTIME_CLASS(base_name)};                         \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_name) VELMORA_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)                 \
    CObject* class_name::CreateObject() { return new class_name; } \
    VELMORA_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, class_name::CreateObject)
