// The double's object model, as far as clients reach it by name:
//
//   Application   Workbooks (get), ActiveSheet (get), Visible (get, put)
//   Workbooks     Add (method: a new workbook with one sheet, which becomes the active one)
//   Workbook      nothing
//   Worksheet     Range (get, one argument: an address, see Sheet.h)
//   Range         Value (get, put), NumberFormat (put), EntireColumn (get), AutoFit (method),
//                 Font (get)
//   Font          Size (get, put), Bold (get, put)
//
// Objects are views: the workbooks, their sheets and the application's state live for the
// process in one model, so a range released and asked for again shows the same cells.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/ClassFactory.h"
#include "sdk/excel/DispatchObject.h"
#include "sdk/excel/Sheet.h"

namespace excel_double {

// The state behind all objects of the process.
struct Model {
    std::vector<std::unique_ptr<CSheet>> workbooks;  // one sheet each, in the order added
    bool visible = false;

    CSheet* ActiveSheet() { return workbooks.empty() ? nullptr : workbooks.back().get(); }
    // The record's workbook, cell, column, row and visible lines.
    std::string RecordLines() const;
};
Model& TheModel();

// The class factory that COM hands the client: each CreateInstance makes an Application. Owned
// by the server's main function, which revokes it; never deleted through a reference.
class CApplicationFactory : public CClassFactoryImpl<CApplicationFactory, CDispatchObject, comOwned> {
public:
    CDispatchObject* NewObject();
    // A lock is recorded as an object of the server, so that the server waits for its unlock.
    static void LockModule(bool lock);

    // Objects made through the factory.
    long Created() const { return m_created; }

private:
    long m_created = 0;
};

}  // namespace excel_double
