// The class factory of AlkSync's one creatable class, the store (CStore). DllGetClassObject
// hands out a new factory for any class id; CreateInstance makes a store (aggregation is not
// supported), and LockServer moves the module lock count. A factory does not count in the
// module lock count itself: an existing factory alone does not keep the module loaded.
//
// A null out pointer gives E_INVALIDARG, to QueryInterface as to CreateInstance.
#pragma once

#include "activesync/ModuleLock.h"
#include "activesync/Store.h"
#include "framework/ClassFactory.h"

class CClassFactory : public CClassFactoryImpl<CClassFactory, CStore> {
public:
    static constexpr HRESULT NullOutAnswer = E_INVALIDARG;

    static void LockModule(bool lock)
    {
        if (lock) {
            CModuleLock::Lock();
        } else {
            CModuleLock::Unlock();
        }
    }
};
