// Converts between the interface's texts and the database's UTF-8 text. The texts a helper
// returns belong to the helper and stay valid until it is destroyed.
#pragma once

#include "business/AlkBizDefs.h"

class ALKBIZ_API CStringHelper {
public:
    virtual ~CStringHelper();
    // Interface text to database text (null counts as the empty text). Null when the text
    // cannot be converted (no memory): a save then fails rather than write another text.
    virtual const char* Encode(const AlkChar* text) = 0;
    // Database text to interface text.
    virtual const AlkChar* Decode(const char* text) = 0;
#if ALKBIZ_WIDE
    // The engine hands texts out as UTF-16 already in this build: returned unchanged.
    const wchar_t* Decode(const wchar_t* text);
#endif

    // Replaces *field (a heap text owned by a record, or null) by a copy of value; null counts as
    // the empty text, and value may point into the field's own text. Returns non-zero when the
    // stored text changed: the new text is not empty or a previous text was released. Equal
    // texts (compared case-sensitively) change nothing; when the copy cannot be allocated the
    // field keeps its text and 0 is returned.
    static int SetStringValue(AlkChar** field, const AlkChar* value);
    // Releases a text stored by SetStringValue and sets the field to null.
    static void FreeStringValue(AlkChar** field);

protected:
    CStringHelper();
};
