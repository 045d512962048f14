#include "business/StoredDate.h"

#include <sqlite3.h>

#include <cstring>

bool CStoredDate::Same(double a, double b)
{
    if (a == b) return true;
    // The statements write dates with the engine's "%f": equal texts are equal stored values,
    // and different texts different ones.
    char left[64], right[64];
    sqlite3_snprintf(sizeof left, left, "%f", a);
    sqlite3_snprintf(sizeof right, right, "%f", b);
    return std::strcmp(left, right) == 0;
}

double CStoredDate::Later(double stored, double now)
{
    return now >= stored + Step ? now : stored + Step;
}
