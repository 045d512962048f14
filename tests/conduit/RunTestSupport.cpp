#include "RunTestSupport.h"

#include <sqlite3.h>

#include <vector>

namespace alk_conduit_test {

namespace {

// To six decimals of a day, rounded as the file rounds what it keeps: the handheld's exact
// 46365.1640625 and the file's 46365.164063 are one date (the runtime's printf would round the
// exact half down to .164062).
std::string Date(double value)
{
    char* text = sqlite3_mprintf("%.6f", value);
    const std::string date = text ? text : "";
    sqlite3_free(text);
    return date;
}

std::string Float(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(static_cast<float>(value)));
    return text;
}

std::string Number(unsigned long value)
{
    return std::to_string(value);
}

std::string Join(const std::vector<std::string>& fields)
{
    std::string out;
    for (const std::string& f : fields) out += f + "|";
    return out;
}

}  // namespace

sqlite3* OpenFile(const std::string& ansiPath, int flags)
{
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, wide, MAX_PATH);
    char utf8[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    sqlite3* file = nullptr;
    if (sqlite3_open_v2(utf8, &file, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(file);
        return nullptr;
    }
    return file;
}

std::string RecordText(CBaseObject* r)
{
    std::vector<std::string> f = {Number(r->GetObjectType()), Number(r->GetRefID()),     r->GetName(), r->GetNotes(),
                                  Date(r->GetDateCreated()),  Date(r->GetDateModified())};
    switch (r->GetObjectType()) {
    case CBaseObject::otVehicle: {
        CVehicle* v = static_cast<CVehicle*>(r);
        for (const char* t : {v->GetLicensePlate(), v->GetVIN(), v->GetDealerName(), v->GetDealerPhone(),
                              v->GetDealerAddress(), v->GetInsurancePolicyNumber(), v->GetInsuranceAgentName(),
                              v->GetInsuranceAgentPhone(), v->GetInsuranceCoverage()})
            f.push_back(t);
        f.push_back(Date(v->GetInsuranceExpirationDate()));
        f.push_back(Number(static_cast<unsigned long>(v->GetCurrentOdometer())));
        f.push_back(Number(static_cast<unsigned long>(v->GetYear())));
        f.push_back(v->GetImagePath());
        break;
    }
    case CBaseObject::otEntry: {
        CEntry* e = static_cast<CEntry*>(r);
        f.push_back(Date(e->GetDate()));
        f.push_back(Number(static_cast<unsigned long>(e->GetOdometer())));
        f.push_back(Number(e->GetVehicleID()));
        f.push_back(Number(static_cast<unsigned long>(e->GetType())));
        f.push_back(e->GetVendor());
        f.push_back(Float(e->GetAmount()));
        f.push_back(Float(e->GetCustom1()));
        f.push_back(Float(e->GetCustom2()));
        break;
    }
    case CBaseObject::otNotification: {
        CNotification* n = static_cast<CNotification*>(r);
        f.push_back(Date(n->GetDate()));
        f.push_back(Number(static_cast<unsigned long>(n->GetOdometer())));
        f.push_back(Number(n->GetVehicleID()));
        break;
    }
    default: f.push_back(Number(static_cast<unsigned long>(static_cast<CKeyword*>(r)->GetType()))); break;
    }
    return Join(f);
}

std::string RecordText(const CHandheldRecord& r)
{
    std::vector<std::string> f = {Number(static_cast<unsigned long>(r.Type())), Number(r.RefID())};
    for (const HhFieldDef& def : HhFieldsOf(r.Type())) {
        const std::string name = def.name;
        if (name == "ID" || name == "RefID") continue;
        switch (def.kind) {
        case HhFieldKind::Text: f.push_back(r.Text(def.name)); break;
        case HhFieldKind::Real:
            f.push_back(name == "Amount" || name == "Custom1" || name == "Custom2" ? Float(r.Real(def.name))
                                                                                   : Date(r.Real(def.name)));
            break;
        default: f.push_back(Number(r.Number(def.name))); break;
        }
    }
    return Join(f);
}

}  // namespace alk_conduit_test
