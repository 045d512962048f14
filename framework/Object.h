// CObject: the root of the old record classes, with run-time class information and nothing else
// (no serialisation, no diagnostics). A class declares itself with DECLARE_DYNAMIC(Class) in its
// body and IMPLEMENT_DYNAMIC(Class, Base) in its source; RUNTIME_CLASS(Class) names its
// information, IsKindOf asks whether an object is of a class or derives from it.
#pragma once

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;  // null for CObject

    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

#define RUNTIME_CLASS(name) (&name::class##name)

#define DECLARE_DYNAMIC(name)               \
public:                                     \
    static const CRuntimeClass class##name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(name, base)                                                   \
    const CRuntimeClass name::class##name = {#name, sizeof(name), RUNTIME_CLASS(base)}; \
    const CRuntimeClass* name::GetRuntimeClass() const                                  \
    {                                                                                   \
        return RUNTIME_CLASS(name);                                                     \
    }

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* type) const;

protected:
    CObject() = default;
};
